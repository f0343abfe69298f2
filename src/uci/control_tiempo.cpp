#include "uci/control_tiempo.h"

#include "tablero/tipos.h"

void ControlTiempo::reiniciar() {
    wtime = btime = winc = binc = movetime = movestogo = 0;
    infinite = false;
    depth = 0;
}

uint32_t ControlTiempo::tiempoAsignado(int bando) const {
    const uint32_t reloj = bando == Blanco ? wtime : btime;
    const uint32_t incremento = bando == Blanco ? winc : binc;
    if (movetime != 0) return movetime;
    // A "movestogo" of -1 wraps its successor to 0; treat it as no moves-to-go count
    // rather than divide by zero.
    if (movestogo != 0 && movestogo + 1 != 0) return reloj / (movestogo + 1);
    return reloj / 60 + incremento;
}
