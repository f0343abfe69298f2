#pragma once

#include "generacion/tablas.h"
#include "tablero/tablero.h"

// Sliding attacks along one line, read through the occupancy of that line. Each includes
// the first occupied square in every direction, whatever its colour.
inline Bitboard ataquesFila(const Tablero& t, Casilla s) {
    return TablaAtaquesFila[s][(t.ocupadas() >> (8 * filaDe(s) + 1)) & 63];
}
inline Bitboard ataquesColumna(const Tablero& t, Casilla s) {
    return TablaAtaquesColumna[s][(t.Rotado90 >> (8 * columnaDe(s) + 1)) & 63];
}
inline Bitboard ataquesDiagonal45(const Tablero& t, Casilla s) {
    // h8 is the one square whose shift is 64; its line has no other square, so any index
    // reads an empty entry and a shift of 63 keeps the operation defined.
    const int desplazamiento = DesplazamientoRotado45[s] & 63;
    return TablaAtaquesDiagonal45[s][(t.Rotado45 >> desplazamiento) & 63];
}
inline Bitboard ataquesDiagonal315(const Tablero& t, Casilla s) {
    return TablaAtaquesDiagonal315[s][(t.Rotado315 >> DesplazamientoRotado315[s]) & 63];
}
inline Bitboard ataquesTorre(const Tablero& t, Casilla s) {
    return ataquesFila(t, s) | ataquesColumna(t, s);
}
inline Bitboard ataquesAlfil(const Tablero& t, Casilla s) {
    return ataquesDiagonal45(t, s) | ataquesDiagonal315(t, s);
}
inline Bitboard ataquesDama(const Tablero& t, Casilla s) {
    return ataquesTorre(t, s) | ataquesAlfil(t, s);
}

// The lookup of the line that direction code d (1..8) runs along.
inline Bitboard ataquesLinea(const Tablero& t, int32_t d, Casilla s) {
    switch (d) {
    case Norte:
    case Sur:
        return ataquesColumna(t, s);
    case Este:
    case Oeste:
        return ataquesFila(t, s);
    case Noreste:
    case Suroeste:
        return ataquesDiagonal315(t, s);
    default:
        return ataquesDiagonal45(t, s);
    }
}

bool enJaque(const Tablero& t);
bool casillaAtacada(const Tablero& t, Casilla s, int bando);
Bitboard atacantesCasilla(const Tablero& t, Casilla s);
bool estaClavada(const Tablero& t, Casilla s, int bando);

// Whether the side that has just moved left its own king attacked.
inline bool dejaReyEnJaque(Tablero& t) {
    t.ladoQueMueve = !t.ladoQueMueve;
    const bool jaque = enJaque(t);
    t.ladoQueMueve = !t.ladoQueMueve;
    return jaque;
}
