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

    s += terminosColumnasTorres(bb[TorreBlanca], bb[PeonBlanco], bb[PeonNegro]);
    s -= terminosColumnasTorres(bb[TorreNegra], bb[PeonNegro], bb[PeonBlanco]);

    s += TablaRey[t.casillaRey[Blanco]];
    s -= TablaRey[Espejo[t.casillaRey[Negro]]];

    // No castled-king bonus: the bits above the four castling rights are never set by make,
    // unmake, the null move or set-up, so a term reading them would always add nothing.

    return t.ladoQueMueve ? s : -s;
}
