#pragma once

#include <cstdint>

#include "tablero/tablero.h"

int32_t SEE(const Tablero& t, Casilla hasta, Casilla desde, int bando);
