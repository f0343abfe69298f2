#pragma once

#include <cstdint>

#include "tablero/tipos.h"

class Tablero;

extern uint64_t ZobristPieza[NumCodigosPieza][64];
extern uint64_t ZobristEnroque[16];
extern uint64_t ZobristAlPaso[65]; // entry 64 (no en-passant square) stays 0
constexpr uint64_t ZobristNulo = 0xB1A7B1A7B1A7B1A7ull;

uint64_t aleatorio64();
void inicializarZobrist();
uint64_t calcularHashKey(const Tablero& t);
