#pragma once

#include <memory>
#include <string>

#include "tablero/tablero.h"

// Fills the attack tables and the Zobrist keys once per process; safe to call from any test.
void prepararTablasGlobales();

// A board (without engine) holding the given FEN position.
std::unique_ptr<Tablero> tableroDesdeFEN(const std::string& fen);
