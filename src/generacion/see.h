#pragma once

#include <cstdint>

#include "tablero/tablero.h"

extern const int32_t ValorSEE[NumCodigosPieza];

int32_t SEE(const Tablero& t, Casilla hasta, Casilla desde, int bando);
Bitboard agregarRayosX(const Tablero& t, int32_t d, Casilla s, Bitboard atacantes);
