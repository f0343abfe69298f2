#include "uci/control_tiempo.h"

#include "tablero/tipos.h"

void ControlTiempo::reiniciar() {
    wtime = btime = winc = binc = movetime = movestogo = 0;
    infinite = false;
    depth = 0;
}

// The milliseconds one search of side `bando` may take: a fixed move time when one was given,
// else an even share of the clock over the moves left to the next time control, else a sixtieth
// of the clock plus the increment. The whole budget is used; nothing is held back.
uint32_t ControlTiempo::tiempoAsignado(int bando) const {
    const uint32_t reloj = bando == Blanco ? wtime : btime;
    const uint32_t incremento = bando == Blanco ? winc : binc;
    if (movetime != 0) return movetime;
    // A "movestogo" of -1 wraps its successor to 0; treat it as no moves-to-go count
    // rather than divide by zero.
    if (movestogo != 0 && movestogo + 1 != 0) return reloj / (movestogo + 1);
    return reloj / 60 + incremento;
}
