#pragma once

#include <string>

#include "tablero/tablero.h"

// Empty when every field derived from the piece array and the state (colour, piece and rotated
// boards, material counters, king squares and, unless `conClave` is false as while a null move
// is made, the key) equals the engine's own recomputation; else the first field that does not.
std::string inconsistencia(const Tablero& t, bool conClave = true);

// The same but for the king squares, which the board keeps one a side: with several kings of a
// side the square follows whichever moved last, and a captured king leaves it behind.
std::string inconsistenciaSinReyes(const Tablero& t);

// Empty when the boards agree on the pieces, the state, the history count, the king squares and
// every derived field; else the first field that differs.
std::string diferencia(const Tablero& a, const Tablero& b);
