#pragma once

#include <cstdint>

#include "tablero/tablero.h"

// The material that side `bando` wins, in centipawns, by taking on `hasta` with the piece on
// `desde` when both sides then recapture there with their least valuable piece, each free to stop
// when going on would lose. Pieces uncovered behind a capturer join in; the board is not changed.
int32_t SEE(const Tablero& t, Casilla hasta, Casilla desde, int bando);
