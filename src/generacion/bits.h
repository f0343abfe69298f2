#pragma once

#include "tablero/tipos.h"

// Lowest set bit of a non-empty set.
inline Casilla primerBitActivo(Bitboard bb) { return static_cast<Casilla>(__builtin_ctzll(bb)); }

// Takes the lowest square out of the set and returns it; squares come out in increasing order.
inline Casilla extraerPrimerBit(Bitboard& bb) {
    const Casilla c = primerBitActivo(bb);
    bb &= bb - 1;
    return c;
}

inline int contarBits(Bitboard bb) { return __builtin_popcountll(bb); }
