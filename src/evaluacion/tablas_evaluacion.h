#pragma once

#include <array>
#include <cstdint>
#include <iterator>

#include "tablero/tipos.h"

using TablaCasillas = std::array<int32_t, 64>;
using TablaColumnas = std::array<int32_t, 8>;

namespace detalle {
// Tables below are written as a diagram seen from White (rank 8 on the first line);
// this turns such a diagram into a table indexed by square.
constexpr TablaCasillas desdeDiagrama(const TablaCasillas& diagrama) {
    TablaCasillas tabla{};
    for (int sq = 0; sq < 64; ++sq) tabla[sq] = diagrama[sq ^ 56];
    return tabla;
}
constexpr TablaCasillas crearEspejo() {
    TablaCasillas tabla{};
    for (int sq = 0; sq < 64; ++sq) tabla[sq] = sq ^ 56;
    return tabla;
}
} // namespace detalle

// The same file on the mirrored rank: black pieces read the white tables through it.
inline constexpr TablaCasillas Espejo = detalle::crearEspejo();

inline constexpr TablaCasillas TablaPeon = detalle::desdeDiagrama({
    0,  0,  0,  0,  0,  0,  0,  0,  //
    12, 15, 18, 21, 21, 18, 15, 12, //
    9,  12, 15, 18, 18, 15, 12, 9,  //
    6,  9,  14, 17, 17, 14, 9,  6,  //
    3,  6,  11, 15, 15, 11, 6,  3,  //
    0,  3,  8,  11, 11, 8,  3,  0,  //
    0,  0,  0,  0,  0,  0,  0,  0,  //
    0,  0,  0,  0,  0,  0,  0,  0,  //
});

inline constexpr TablaCasillas TablaCaballo = detalle::desdeDiagrama({
    -20, -12, -10, -10, -10, -10, -12, -20, //
    -14, -8,  0,   3,   3,   0,   -8,  -14, //
    -13, -2,  5,   5,   5,   5,   -2,  -13, //
    -12, -2,  5,   10,  10,  5,   -2,  -12, //
    -12, -2,  5,   10,  10,  5,   -2,  -12, //
    -13, -2,  5,   5,   5,   5,   -2,  -13, //
    -14, -8,  0,   3,   3,   0,   -8,  -14, //
    -20, -12, -10, -10, -10, -10, -12, -20, //
});

inline constexpr TablaCasillas TablaAlfil = detalle::desdeDiagrama({
    -2, -2, -2, -2, -2, -2, -2, -2, //
    -2, 8,  5,  5,  5,  5,  8,  -2, //
    -2, 3,  3,  5,  5,  3,  3,  -2, //
    -2, 2,  5,  4,  4,  5,  2,  -2, //
    -2, 2,  5,  4,  4,  5,  2,  -2, //
    -2, 3,  3,  5,  5,  3,  3,  -2, //
    -2, 8,  5,  5,  5,  5,  8,  -2, //
    -2, -2, -2, -2, -2, -2, -2, -2, //
});

inline constexpr TablaCasillas TablaTorre = detalle::desdeDiagrama({
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
    0, 0, 4, 6, 6, 4, 0, 0, //
});

inline constexpr TablaCasillas TablaDama = detalle::desdeDiagrama({
    -10, -8, -4, 0,  0,  -4, -8, -10, //
    -12, -2, 4,  5,  5,  4,  -2, -12, //
    -2,  2,  4,  8,  8,  4,  2,  -2,  //
    -2,  2,  6,  10, 10, 6,  2,  -2,  //
    -10, 2,  6,  10, 10, 6,  2,  -10, //
    -10, -6, 4,  8,  8,  4,  -6, -10, //
    -10, 2,  8,  8,  8,  8,  2,  -10, //
    -10, -8, -4, 0,  0,  -4, -8, -10, //
});

inline constexpr TablaCasillas TablaRey = detalle::desdeDiagrama({
    -55, -55, -89, -89, -89, -89, -55, -55, //
    -34, -34, -55, -55, -55, -55, -34, -34, //
    -21, -21, -34, -34, -34, -34, -21, -21, //
    -13, -13, -21, -21, -21, -21, -13, -13, //
    -8,  -8,  -13, -13, -13, -13, -8,  -8,  //
    -5,  -5,  -8,  -8,  -8,  -8,  -5,  -5,  //
    -3,  -5,  -6,  -6,  -6,  -6,  -5,  -3,  //
    2,   14,  0,   0,   0,   0,   14,  2,   //
});

// Rook bonuses by file: no enemy pawn but an own pawn, no pawn at all, and the extra for a
// second rook of the same side further up an open file.
inline constexpr TablaColumnas TorreColumnaSemiabierta = {3, 6, 8, 12, 12, 8, 6, 3};
inline constexpr TablaColumnas TorreColumnaAbierta = {5, 8, 10, 15, 15, 10, 8, 5};
inline constexpr TablaColumnas TorreDobladaAbierta = {6, 9, 12, 18, 18, 12, 9, 6};

inline constexpr int32_t BonoParAlfiles = 30;
inline constexpr int32_t BonoTorreSeptima = 30;

namespace detalle {
// Rows by piece code: the white tables as they are, the black ones mirrored and negated, kings
// and empty codes zero. A rook's row includes its seventh-rank bonus, which depends on its square
// alone.
constexpr std::array<TablaCasillas, NumCodigosPieza> crearValorCasilla() {
    std::array<TablaCasillas, NumCodigosPieza> valor{};
    const TablaCasillas* tablas[] = {&TablaPeon, &TablaCaballo, &TablaAlfil, &TablaTorre,
                                     &TablaDama};
    for (int tipo = 0; tipo < static_cast<int>(std::size(tablas)); ++tipo) {
        const int32_t blanca = PeonBlanco + 2 * tipo;
        for (int sq = 0; sq < 64; ++sq) {
            int32_t v = (*tablas[tipo])[sq];
            if (blanca == TorreBlanca && ((Fila7 >> sq) & 1)) v += BonoTorreSeptima;
            valor[blanca][sq] = v;
            valor[blanca + 1][Espejo[sq]] = -v;
        }
    }
    return valor;
}
} // namespace detalle

// What a piece other than a king standing on a square adds to the score from White's side: the
// board keeps the sum over its pieces up to date through make and unmake.
inline constexpr std::array<TablaCasillas, NumCodigosPieza> ValorCasilla =
    detalle::crearValorCasilla();
