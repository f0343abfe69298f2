#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "generacion/tablas.h"

namespace {

using ayuda::bit;
using ayuda::cs;

// Rotated layouts written from their definition (the diagnostic printout shows them).
Bitboard rotarPorFormula(Bitboard occ, int capa) {
    Bitboard r = 0;
    for (Casilla s = 0; s < 64; ++s) {
        const int f = s & 7, k = s >> 3;
        const int b = capa == 90   ? 8 * f + (7 - k)
                      : capa == 45 ? 8 * ((f + k + 1) % 8) + f
                                   : 8 * (((k - f) % 8 + 8) % 8) + f;
        if (occ >> s & 1) r |= Bitboard{1} << b;
    }
    return r;
}

// Squares reached from s stepping (df, dr) until the edge, including the first occupied one.
Bitboard rayo(Casilla s, int df, int dr, Bitboard occ = 0) {
    Bitboard r = 0;
    for (int f = (s & 7) + df, k = (s >> 3) + dr; f >= 0 && f < 8 && k >= 0 && k < 8;
         f += df, k += dr) {
        r |= Bitboard{1} << (k * 8 + f);
        if (occ >> (k * 8 + f) & 1) break;
    }
    return r;
}

// Empty, full, then sparse and dense random occupancies; the lookups read through each.
TEST(Tablas, AtaquesDeslizantesIgualAlCaminoDelRayo) {
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/8 w - - 0 1");
    std::mt19937_64 azar(20240611);
    for (int prueba = 0; prueba < 1500; ++prueba) {
        Bitboard occ = prueba < 2 ? Bitboard{0} - prueba : azar();
        if (prueba > 1 && prueba % 3 != 2) occ &= azar() & (prueba % 3 ? azar() : ~Bitboard{0});
        t->piezasBlancas = occ & azar();
        t->piezasNegras = occ & ~t->piezasBlancas;
        t->Rotado90 = Tablero::aRotado90(occ);
        t->Rotado45 = Tablero::aRotado45(occ);
        t->Rotado315 = Tablero::aRotado315(occ);
        ASSERT_EQ(t->Rotado90, rotarPorFormula(occ, 90)) << occ;
        ASSERT_EQ(t->Rotado45, rotarPorFormula(occ, 45)) << occ;
        ASSERT_EQ(t->Rotado315, rotarPorFormula(occ, 315)) << occ;
        for (Casilla s = 0; s < 64; ++s) {
            SCOPED_TRACE(::testing::Message() << "casilla " << s << " occ " << occ);
            ASSERT_EQ(ataquesFila(*t, s), rayo(s, 1, 0, occ) | rayo(s, -1, 0, occ));
            ASSERT_EQ(ataquesColumna(*t, s), rayo(s, 0, 1, occ) | rayo(s, 0, -1, occ));
            ASSERT_EQ(ataquesDiagonal45(*t, s), rayo(s, -1, 1, occ) | rayo(s, 1, -1, occ));
            ASSERT_EQ(ataquesDiagonal315(*t, s), rayo(s, 1, 1, occ) | rayo(s, -1, -1, occ));
        }
    }
    // A second initialisation changes nothing.
    const Bitboard antes = TablaAtaquesDiagonal315[cs("d4")][17];
    inicializarTablas();
    EXPECT_EQ(TablaAtaquesDiagonal315[cs("d4")][17], antes);
}

// Every piece table against a walk on the board, and the geometry tables against each other.
TEST(Tablas, TablasDePiezasYGeometria) {
    prepararTablasGlobales();
    const int pasos[9][2] = {{0, 0}, {0, 1},  {0, -1}, {1, 0},  {-1, 0},
                             {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (Casilla s = 0; s < 64; ++s) {
        Bitboard rey = 0, caballo = 0, peonBlanco = 0, peonNegro = 0, torre = 0, alfil = 0;
        for (int df = -2; df <= 2; ++df)
            for (int dr = -2; dr <= 2; ++dr) {
                const int f = (s & 7) + df, k = (s >> 3) + dr, ad = std::abs(df), ar = std::abs(dr);
                if (f < 0 || f > 7 || k < 0 || k > 7) continue;
                const Bitboard b = Bitboard{1} << (k * 8 + f);
                if (ad <= 1 && ar <= 1 && (ad || ar)) rey |= b;
                if (ad + ar == 3 && ad && ar) caballo |= b;
                if (ad == 1 && dr == 1) peonBlanco |= b;
                if (ad == 1 && dr == -1) peonNegro |= b;
            }
        EXPECT_EQ(TablaAtaquesRey[s], rey) << s;
        EXPECT_EQ(TablaAtaquesCaballo[s], caballo) << s;
        EXPECT_EQ(TablaAtaquesPeonBlanco[s], peonBlanco) << s;
        EXPECT_EQ(TablaAtaquesPeonNegro[s], peonNegro) << s;
        for (int d = 1; d <= 8; ++d) {
            EXPECT_EQ(Rayos[d][s], rayo(s, pasos[d][0], pasos[d][1])) << s << " " << d;
            (d <= 4 ? torre : alfil) |= Rayos[d][s];
            for (Casilla t = 0; t < 64; ++t)
                if (Rayos[d][s] >> t & 1) {
                    EXPECT_EQ(Direccion[s][t], d);
                    // Entre is the ray from s up to t, t excluded.
                    EXPECT_EQ(Entre[s][t], Rayos[d][s] & ~Rayos[d][t] & ~(Bitboard{1} << t));
                }
        }
        EXPECT_EQ(AtaquesTorreVacio[s], torre) << s;
        EXPECT_EQ(AtaquesAlfilVacio[s], alfil) << s;
        // Off the lines of s: no direction, nothing between.
        for (Casilla t = 0; t < 64; ++t)
            EXPECT_TRUE((torre | alfil) >> t & 1 ||
                        (Direccion[s][t] == SinDireccion && !Entre[s][t]))
                << s << " " << t;
    }
    EXPECT_EQ(Direccion[cs("h1")][cs("a8")], Noroeste);
    EXPECT_EQ(VecinosAlPaso[cs("a4")], bit("b4"));
    EXPECT_EQ(VecinosAlPaso[cs("e5")], bit("d5") | bit("f5"));
    EXPECT_EQ(VecinosAlPaso[cs("e3")], 0u);
}

} // namespace
