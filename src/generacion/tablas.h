#pragma once

#include <cstdint>

#include "tablero/tipos.h"

// Direction codes of Direccion and Rayos.
constexpr int32_t SinDireccion = 0;
constexpr int32_t Norte = 1;
constexpr int32_t Sur = 2;
constexpr int32_t Este = 3;
constexpr int32_t Oeste = 4;
constexpr int32_t Noreste = 5;
constexpr int32_t Noroeste = 6;
constexpr int32_t Sureste = 7;
constexpr int32_t Suroeste = 8;

// Square to bit index in each rotated layout, and back for the 90-degree one.
extern const int32_t IndiceRotado90[64];
extern const int32_t IndiceRotado45[64];
extern const int32_t IndiceRotado315[64];
extern const int32_t CasillaRotado90[64];
extern const int32_t DesplazamientoRotado45[64];
extern const int32_t DesplazamientoRotado315[64];

// Filled once by inicializarTablas, read-only afterwards.
extern Bitboard MascaraCasilla[64];
extern Bitboard MascaraRotado90[64];
extern Bitboard MascaraRotado45[64];
extern Bitboard MascaraRotado315[64];
extern Bitboard InversaCasilla[64];
extern Bitboard TablaAtaquesFila[64][64];
extern Bitboard TablaAtaquesColumna[64][64];
extern Bitboard TablaAtaquesDiagonal45[64][64];
extern Bitboard TablaAtaquesDiagonal315[64][64];
extern Bitboard TablaAtaquesCaballo[64];
extern Bitboard TablaAtaquesRey[64];
extern Bitboard TablaAtaquesPeonBlanco[64];
extern Bitboard TablaAtaquesPeonNegro[64];
extern int32_t Direccion[64][64];
extern Bitboard Entre[64][64];
extern Bitboard Rayos[9][64]; // indexed by direction code 1..8; row 0 stays empty
extern Bitboard AtaquesTorreVacio[64];
extern Bitboard AtaquesAlfilVacio[64];
extern Bitboard VecinosAlPaso[64];

void inicializarTablas();
