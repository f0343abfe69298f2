#pragma once

#include <cstdint>

// Squares run a1 = 0 ... h8 = 63; bit n of a bitboard stands for square n.
using Bitboard = uint64_t;
using Casilla = int32_t;

constexpr Casilla CasillaNula = 64;

// The ranks and files the generators and the evaluation test pieces against.
constexpr Bitboard Fila1 = 0x00000000000000FFull;
constexpr Bitboard Fila2 = 0x000000000000FF00ull;
constexpr Bitboard Fila3 = 0x0000000000FF0000ull;
constexpr Bitboard Fila6 = 0x0000FF0000000000ull;
constexpr Bitboard Fila7 = 0x00FF000000000000ull;
constexpr Bitboard Fila8 = 0xFF00000000000000ull;
constexpr Bitboard ColumnaA = 0x0101010101010101ull;
constexpr Bitboard ColumnaH = 0x8080808080808080ull;

// Colour index of a side, as pieces and moves carry it and `bando` parameters take it. The
// side-to-move flag `ladoQueMueve` of a position has the other sense: true when white moves.
constexpr int Blanco = 0;
constexpr int Negro = 1;

// Piece codes: white odd, black even; 0 is an empty square.
constexpr int32_t Vacio = 0;
constexpr int32_t PeonBlanco = 1;
constexpr int32_t PeonNegro = 2;
constexpr int32_t CaballoBlanco = 3;
constexpr int32_t CaballoNegro = 4;
constexpr int32_t AlfilBlanco = 5;
constexpr int32_t AlfilNegro = 6;
constexpr int32_t TorreBlanca = 7;
constexpr int32_t TorreNegra = 8;
constexpr int32_t DamaBlanca = 9;
constexpr int32_t DamaNegra = 10;
constexpr int32_t ReyBlanco = 11;
constexpr int32_t ReyNegro = 12;
constexpr int NumCodigosPieza = 14;

// Castling-right bits.
constexpr int32_t EnroqueCortoBlanco = 1;
constexpr int32_t EnroqueCortoNegro = 2;
constexpr int32_t EnroqueLargoBlanco = 4;
constexpr int32_t EnroqueLargoNegro = 8;

constexpr int colorPieza(int32_t codigo) {
    return (~codigo) & 1;
}
constexpr int columnaDe(Casilla c) {
    return c & 7;
}
constexpr int filaDe(Casilla c) {
    return c >> 3;
}
constexpr Casilla casillaDe(int columna, int fila) {
    return fila * 8 + columna;
}
