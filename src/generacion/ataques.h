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

bool casillaAtacada(const Tablero& t, Casilla s, int bando);
bool estaClavada(const Tablero& t, Casilla s, int bando);
Bitboard casillasDeRiesgo(const Tablero& t, int bando);

// King squares come from FEN text too; a square outside the board stands for no king.
inline Bitboard bitRey(const Tablero& t, int bando) {
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[bando]);
    return k < 64 ? Bitboard{1} << k : 0;
}

// Every piece of either colour that attacks s. A line is looked up only when a slider of its
// kind stands somewhere on it.
inline Bitboard atacantesCasilla(const Tablero& t, Casilla s) {
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard damas = bb[DamaBlanca] | bb[DamaNegra];
    const Bitboard rectos = (bb[TorreBlanca] | bb[TorreNegra] | damas) & AtaquesTorreVacio[s];
    const Bitboard diagonales = (bb[AlfilBlanco] | bb[AlfilNegro] | damas) & AtaquesAlfilVacio[s];
    Bitboard atacantes = (TablaAtaquesRey[s] & (bitRey(t, Blanco) | bitRey(t, Negro))) |
                         (TablaAtaquesCaballo[s] & (bb[CaballoBlanco] | bb[CaballoNegro])) |
                         (TablaAtaquesPeonBlanco[s] & bb[PeonNegro]) |
                         (TablaAtaquesPeonNegro[s] & bb[PeonBlanco]);
    if (rectos) atacantes |= ataquesTorre(t, s) & rectos;
    if (diagonales) atacantes |= ataquesAlfil(t, s) & diagonales;
    return atacantes;
}

// Whether the king of side `bando` stands attacked by the other side. The cheap piece kinds
// go first; a sliding lookup runs only when an enemy slider shares an empty-board line.
inline bool reyAtacado(const Tablero& t, int bando) {
    const int enemigo = bando ^ 1;
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[bando]);
    // A side without a king on the board cannot be in check.
    if (k >= 64) return false;
    const Bitboard* bb = t.bitboardsPieza;

    if (bando == Blanco) {
        if (TablaAtaquesPeonBlanco[k] & bb[PeonNegro]) return true;
    } else {
        if (TablaAtaquesPeonNegro[k] & bb[PeonBlanco]) return true;
    }
    if (TablaAtaquesCaballo[k] & bb[CaballoBlanco + enemigo]) return true;

    const Bitboard damas = bb[DamaBlanca + enemigo];
    const Bitboard diagonales = bb[AlfilBlanco + enemigo] | damas;
    if ((AtaquesAlfilVacio[k] & diagonales) && (ataquesAlfil(t, k) & diagonales)) return true;
    const Bitboard rectas = bb[TorreBlanca + enemigo] | damas;
    if ((AtaquesTorreVacio[k] & rectas) && (ataquesTorre(t, k) & rectas)) return true;

    return (TablaAtaquesRey[k] & bitRey(t, enemigo)) != 0;
}

// Whether the side to move is in check.
inline bool enJaque(const Tablero& t) {
    return reyAtacado(t, t.colorQueMueve());
}

// Whether the side that has just moved left its own king attacked: the legality test after
// every make of a pseudo-legal move.
inline bool dejaReyEnJaque(const Tablero& t) {
    return reyAtacado(t, t.colorQueMueve() ^ 1);
}

// Whether a move of the side whose risky squares are `riesgo` needs the legality test after
// make: it leaves one of those squares, or captures en passant (emptying a second square).
inline bool puedeExponerRey(Movimiento m, Bitboard riesgo) {
    return ((riesgo >> desdeDe(m)) & 1) || esAlPaso(m);
}

// Makes a pseudo-legal move and keeps it when the mover's king is safe afterwards; otherwise
// takes it back and answers false.
inline bool hacerSiLegal(Tablero& t, Movimiento m) {
    t.hacerMovimiento(m);
    if (!dejaReyEnJaque(t)) return true;
    t.deshacerMovimiento();
    return false;
}

// The same when the side's risky squares are known: a move that cannot expose the king is made
// untested.
inline bool hacerSiLegal(Tablero& t, Movimiento m, Bitboard riesgo) {
    if (puedeExponerRey(m, riesgo)) return hacerSiLegal(t, m);
    t.hacerMovimiento(m);
    return true;
}
