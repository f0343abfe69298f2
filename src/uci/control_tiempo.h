#pragma once

#include <cstdint>

class Motor;

// The limits of the current "go" and the time budget derived from them.
class ControlTiempo {
  public:
    explicit ControlTiempo(Motor* motor) : motor(motor) {}

    void reiniciar();
    uint32_t tiempoAsignado(int bando) const;

    void setWtime(uint32_t v) { wtime = v; }
    void setBtime(uint32_t v) { btime = v; }
    void setWinc(uint32_t v) { winc = v; }
    void setBinc(uint32_t v) { binc = v; }
    void setMovetime(uint32_t v) { movetime = v; }
    void setInfinite(bool v) { infinite = v; }
    void setMovestogo(uint32_t v) { movestogo = v; }
    void setDepth(int32_t v) { depth = v; }

    bool esInfinito() const { return infinite; }
    int32_t profundidad() const { return depth; }

    Motor* motor;
    uint32_t wtime = 0;
    uint32_t btime = 0;
    uint32_t winc = 0;
    uint32_t binc = 0;
    uint32_t movetime = 0;
    bool infinite = false;
    uint32_t movestogo = 0;
    int32_t depth = 0;
};
