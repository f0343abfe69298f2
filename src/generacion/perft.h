#pragma once

#include <cstdint>

#include "generacion/lista_movimientos.h"

extern uint64_t nodosPerft;

// Deepest count the per-ply lists allow (ply 1 up to the depth).
constexpr int32_t ProfundidadMaximaPerft = 127;

// The built-in test positions: FEN and the text printed after the board.
struct PosicionTest {
    const char* fen;
    const char* resultado;
};
constexpr int32_t NumPosicionesTest = 6;
extern const PosicionTest PosicionesTest[NumPosicionesTest];

// The counts walk the board with one move list per ply, `listas[ply]` (the search's lists).
void contarPerft(Tablero& t, ListaMovimientos* listas, int32_t profundidad, int32_t ply);
void ejecutarPerft(Tablero& t, ListaMovimientos* listas, int32_t profundidad);
void ejecutarDivide(Tablero& t, ListaMovimientos* listas, int32_t profundidad);
