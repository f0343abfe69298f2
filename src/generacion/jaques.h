#pragma once

#include "generacion/tablas.h"
#include "tablero/tablero.h"

// What tells, before a move of the side to move is made, whether it checks the enemy king.
struct Jaques {
    Casilla rey;
    // By piece code of the side to move: the squares from which that piece attacks the king.
    Bitboard directos[NumCodigosPieza];
    // Pieces of the side to move that stand alone between one of its sliders and the king: a
    // move that takes one off that line uncovers a check.
    Bitboard descubridoras;
};

// For positions where the enemy king stands on the board and is not in check.
void prepararJaques(Jaques& j, const Tablero& t);

// Whether m checks, for a move that neither castles, promotes nor captures en passant. A square
// that a slider reaches from the king is reached by it after the move as well, since the square it
// leaves could lie between the two only if it attacked the king already.
inline bool daJaque(const Jaques& j, Movimiento m) {
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    if ((j.directos[piezaMovida(m)] >> hasta) & 1) return true;
    return ((j.descubridoras >> desde) & 1) && Direccion[j.rey][hasta] != Direccion[j.rey][desde];
}
