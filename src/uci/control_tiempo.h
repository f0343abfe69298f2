#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Motor;

// The limits of the current "go", filled by the command and read by the search, and the time
// budget they give.
class ControlTiempo {
  public:
    explicit ControlTiempo(Motor* motor) : motor(motor) {}

    // Every limit back to zero, `infinite` to false.
    void reiniciar();
    // The limits of a "go" from its words, after a reset: each keyword takes the word after it.
    void leerPalabras(const std::vector<std::string>& palabras);
    uint32_t tiempoAsignado(int bando) const;

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
