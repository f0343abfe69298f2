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

// The pieces among `objetivos` that a rook, or a bishop, on s attacks. The line is looked up only
// when one of them stands on the piece's lines of an empty board, which most often none does.
inline Bitboard ataquesTorreHacia(const Tablero& t, Casilla s, Bitboard objetivos) {
    objetivos &= AtaquesTorreVacio[s];
    return objetivos ? ataquesTorre(t, s) & objetivos : 0;
}
inline Bitboard ataquesAlfilHacia(const Tablero& t, Casilla s, Bitboard objetivos) {
    objetivos &= AtaquesAlfilVacio[s];
    return objetivos ? ataquesAlfil(t, s) & objetivos : 0;
}

bool casillaAtacada(const Tablero& t, Casilla s, int bando);
bool estaClavada(const Tablero& t, Casilla s, int bando);
// The pieces among `propias` that stand alone between square k and a rook, bishop or queen of
// side `bandoDeslizadores` that moves along their line: those pinned to a king on k, or those
// that uncover an attack on it by moving off the line.
Bitboard bloqueadoresSolos(const Tablero& t, Casilla k, int bandoDeslizadores, Bitboard propias);
Bitboard casillasDeRiesgo(const Tablero& t, int bando);

// King squares come from FEN text too; a square outside the board stands for no king.
inline Bitboard bitRey(const Tablero& t, int bando) {
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[bando]);
    return k < 64 ? Bitboard{1} << k : 0;
}

// Every piece of either colour that attacks s.
inline Bitboard atacantesCasilla(const Tablero& t, Casilla s) {
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard damas = bb[DamaBlanca] | bb[DamaNegra];
    return (TablaAtaquesRey[s] & (bitRey(t, Blanco) | bitRey(t, Negro))) |
           (TablaAtaquesCaballo[s] & (bb[CaballoBlanco] | bb[CaballoNegro])) |
           (TablaAtaquesPeonBlanco[s] & bb[PeonNegro]) |
           (TablaAtaquesPeonNegro[s] & bb[PeonBlanco]) |
           ataquesTorreHacia(t, s, bb[TorreBlanca] | bb[TorreNegra] | damas) |
           ataquesAlfilHacia(t, s, bb[AlfilBlanco] | bb[AlfilNegro] | damas);
}

// Whether the king of side `bando` stands attacked by the other side. The cheap piece kinds
// go first.
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
    if (ataquesAlfilHacia(t, k, bb[AlfilBlanco + enemigo] | damas)) return true;
    if (ataquesTorreHacia(t, k, bb[TorreBlanca + enemigo] | damas)) return true;

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

// Whether a pseudo-legal move keeps the mover's king safe, told before it is made, for a side not
// in check whose risky squares are `riesgo`, and a move that neither castles nor captures en
// passant. The king may go where no enemy piece attacks: no enemy slider's line runs through
// its own square, or it would be in check. A pinned piece may move along its line alone.
inline bool legalSinHacer(const Tablero& t, Movimiento m, Bitboard riesgo) {
    const Casilla desde = desdeDe(m);
    if (!((riesgo >> desde) & 1)) return true;
    const int bando = colorMovimiento(m);
    const Casilla rey = t.casillaRey[bando];
    if (desde == rey) return !casillaAtacada(t, hastaDe(m), bando ^ 1);
    return Direccion[rey][hastaDe(m)] == Direccion[rey][desde];
}

// One king of each colour (set-up keeps each king's square), the side not to move not in
// check, and every evasion legal: so is every position that the search's moves and null moves
// lead to from here. (Make and unmake test the evasions; the board is left as it was.)
bool posicionOrdinaria(Tablero& t);

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
