#pragma once

#include <string>

#include "tablero/tablero.h"

// Empty when every field derived from the piece array and the state (colour, piece and rotated
// boards, material counters, king squares and, unless `conClave` is false as while a null move
// is made, the key) equals the engine's own recomputation; else the first field that does not.
std::string inconsistencia(const Tablero& t, bool conClave = true);

// Empty when the boards agree on the pieces, the state, the history count, the king squares and
// every derived field; else the first field that differs.
std::string diferencia(const Tablero& a, const Tablero& b);
