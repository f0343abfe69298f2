#pragma once

#include <cstdint>

#include "evaluacion/tablas_evaluacion.h"
#include "generacion/bits.h"
#include "tablero/tablero.h"

namespace evaluacion {

// Exactly two pieces in the set: one left after taking the lowest, none after taking two.
inline bool dosPiezas(Bitboard bb) {
    const Bitboard resto = bb & (bb - 1);
    return resto != 0 && (resto & (resto - 1)) == 0;
}

// Rook file terms of one side, seen from that side. The walk goes from the lowest square up and
// the rook is taken out of the set first, so a rook still in the set stands higher on the file.
inline int32_t terminosColumnasTorres(Bitboard torres, Bitboard peonesPropios,
                                      Bitboard peonesRivales) {
    int32_t suma = 0;
    while (torres) {
        const int columna = columnaDe(extraerPrimerBit(torres));
        const Bitboard linea = ColumnaA << columna;
        if (linea & peonesRivales) continue;
        if (linea & peonesPropios) {
            suma += TorreColumnaSemiabierta[columna];
        } else {
            suma += TorreColumnaAbierta[columna];
            if (linea & torres) suma += TorreDobladaAbierta[columna];
        }
    }
    return suma;
}

// The rook file terms of both sides, from White's side, with the given rooks and pawns.
inline int32_t terminosTorres(Bitboard torresBlancas, Bitboard torresNegras, Bitboard peonesBlancos,
                              Bitboard peonesNegros) {
    return terminosColumnasTorres(torresBlancas, peonesBlancos, peonesNegros) -
           terminosColumnasTorres(torresNegras, peonesNegros, peonesBlancos);
}

} // namespace evaluacion

// Score in centipawns from the point of view of the side to move.
// The piece-square terms of every piece but the kings (a rook's seventh-rank bonus among them)
// come summed from the board; what depends on more than one piece is counted here. Inline: the
// quiescence search calls it at every node.
inline int32_t evaluar(const Tablero& t) {
    using namespace evaluacion;
    const Bitboard* bb = t.bitboardsPieza;
    int32_t s = t.material[Blanco] - t.material[Negro] + t.valorCasillas;

    s += BonoParAlfiles * (dosPiezas(bb[AlfilBlanco]) - dosPiezas(bb[AlfilNegro]));

    s += terminosTorres(bb[TorreBlanca], bb[TorreNegra], bb[PeonBlanco], bb[PeonNegro]);

    s += TablaRey[t.casillaRey[Blanco]];
    s -= TablaRey[Espejo[t.casillaRey[Negro]]];

    // No castled-king bonus: the bits above the four castling rights are never set by make,
    // unmake, the null move or set-up, so a term reading them would always add nothing.

    return t.ladoQueMueve ? s : -s;
}

namespace evaluacion {

// What a capture, or a rook's move to another file, adds besides the mover's squares, from White's
// side: the captured piece's material and square, a lost bishop pair, and the rook file terms,
// which read the files of rooks and pawns (a pawn's step forward keeps its file).
int32_t cambioPorCapturaOTorre(const Tablero& t, Movimiento m);

} // namespace evaluacion

// How much a move raises the evaluation from the mover's side: once it is made, evaluar gives
// the negation of what it gave before plus this. For moves that neither castle, promote nor
// capture en passant.
inline int32_t cambioEvaluacion(const Tablero& t, Movimiento m) {
    using namespace evaluacion;
    const int32_t pieza = piezaMovida(m);
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    int32_t d = ValorCasilla[pieza][hasta] - ValorCasilla[pieza][desde];
    if (pieza == ReyBlanco) d += TablaRey[hasta] - TablaRey[desde];
    if (pieza == ReyNegro) d -= TablaRey[Espejo[hasta]] - TablaRey[Espejo[desde]];
    // A rook that keeps its file keeps the file terms: a doubled rook's bonus goes to whichever
    // of the two stands lower.
    const bool torreDeLado =
        (pieza == TorreBlanca || pieza == TorreNegra) && columnaDe(desde) != columnaDe(hasta);
    if (piezaCapturada(m) != Vacio || torreDeLado) d += cambioPorCapturaOTorre(t, m);
    return t.ladoQueMueve ? d : -d;
}
