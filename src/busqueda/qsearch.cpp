#include "busqueda/nodo.h"

// The rest of a quiescence node whose static evaluation stays below beta. Most nodes stop before
// it, so it is a function of its own and they do not pay for what it keeps in registers.
int32_t Busqueda::qsearchCapturas(int32_t alfa, int32_t beta, int32_t ply, int32_t estatica) {
    Tablero& t = *tablero;
    if (estatica > alfa) alfa = estatica;
    longitudVariante[ply] = ply;
    if (ply >= MaxPly) return alfa;

    ListaMovimientos& lista = listas[ply];
    prepararCapturas(lista, tablero);
    int32_t buscados = 0;
    for (int32_t i = 0; i < lista.cantidad; ++i) {
        // Best exchange first: from the first losing capture on, all lose and are skipped.
        if (lista.puntuaciones[i] < 0) {
            estadisticas.podadosSEE += static_cast<uint64_t>(lista.cantidad - i);
            break;
        }
        const Movimiento m = lista.movimientos[i];
        if (!hacerSiLegal(t, m)) continue;
        ++buscados;
        const int32_t s = -qsearch(-beta, -alfa, ply + 1);
        t.deshacerMovimiento();
        if (s >= beta) return beta;
        if (s > alfa) {
            alfa = s;
            actualizarVariante(ply, m);
        }
    }
    return buscados == 0 ? estatica : alfa;
}
