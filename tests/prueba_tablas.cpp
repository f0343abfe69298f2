#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "generacion/bits.h"
#include "generacion/tablas.h"

namespace {

using ayuda::bit;
using ayuda::cs;

// Rotated layouts written from their definition, independent of the engine's tables.
Bitboard rotarPorFormula(Bitboard occ, int capa) {
    Bitboard r = 0;
    for (Casilla s = 0; s < 64; ++s) {
        if (!(occ >> s & 1)) continue;
        const int f = s & 7, k = s >> 3;
        const int b = capa == 90   ? 8 * f + (7 - k)
                      : capa == 45 ? 8 * ((f + k + 1) % 8) + f
                                   : 8 * (((k - f) % 8 + 8) % 8) + f;
        r |= Bitboard{1} << b;
    }
    return r;
}

// Squares reached from s stepping (df, dr) until the edge, including the first occupied one.
Bitboard rayoCaminado(Casilla s, int df, int dr, Bitboard occ) {
    Bitboard r = 0;
    for (int f = (s & 7) + df, k = (s >> 3) + dr; f >= 0 && f < 8 && k >= 0 && k < 8;
         f += df, k += dr) {
        r |= Bitboard{1} << (k * 8 + f);
        if (occ >> (k * 8 + f) & 1) break;
    }
    return r;
}

// A board whose occupancy is occ (split between the colours), for the line lookups.
std::unique_ptr<Tablero> tableroConOcupacion(Bitboard occ, Bitboard blancas) {
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/8 w - - 0 1");
    t->piezasBlancas = occ & blancas;
    t->piezasNegras = occ & ~blancas;
    t->Rotado90 = Tablero::aRotado90(occ);
    t->Rotado45 = Tablero::aRotado45(occ);
    t->Rotado315 = Tablero::aRotado315(occ);
    return t;
}

TEST(Tablas, AtaquesDeslizantesIgualAlCaminoDelRayo) {
    prepararTablasGlobales();
    std::mt19937_64 azar(20240611);
    for (int prueba = 0; prueba < 1500; ++prueba) {
        // Mix sparse and dense occupancies.
        Bitboard occ = azar();
        if (prueba % 3 == 0) occ &= azar();
        if (prueba % 3 == 1) occ &= azar() & azar();
        for (int capa : {90, 45, 315}) {
            const Bitboard r = capa == 90   ? Tablero::aRotado90(occ)
                               : capa == 45 ? Tablero::aRotado45(occ)
                                            : Tablero::aRotado315(occ);
            ASSERT_EQ(r, rotarPorFormula(occ, capa)) << capa << " occ " << occ;
        }
        auto t = tableroConOcupacion(occ, azar());
        for (Casilla s = 0; s < 64; ++s) {
            SCOPED_TRACE(::testing::Message() << "casilla " << s << " occ " << occ);
            ASSERT_EQ(ataquesFila(*t, s), rayoCaminado(s, 1, 0, occ) | rayoCaminado(s, -1, 0, occ));
            ASSERT_EQ(ataquesColumna(*t, s),
                      rayoCaminado(s, 0, 1, occ) | rayoCaminado(s, 0, -1, occ));
            ASSERT_EQ(ataquesDiagonal45(*t, s),
                      rayoCaminado(s, -1, 1, occ) | rayoCaminado(s, 1, -1, occ));
            ASSERT_EQ(ataquesDiagonal315(*t, s),
                      rayoCaminado(s, 1, 1, occ) | rayoCaminado(s, -1, -1, occ));
        }
    }
}

TEST(Tablas, CasosLimiteDeLasLineas) {
    prepararTablasGlobales();
    // One-square lines attack nothing whatever the index.
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(TablaAtaquesDiagonal45[cs("a1")][i] | TablaAtaquesDiagonal45[cs("h8")][i] |
                      TablaAtaquesDiagonal315[cs("a8")][i] | TablaAtaquesDiagonal315[cs("h1")][i],
                  0u)
            << i;
    }
    EXPECT_EQ(DesplazamientoRotado45[cs("h8")], 64);
    auto lleno = tableroConOcupacion(~Bitboard{0}, 0);
    EXPECT_EQ(ataquesDiagonal45(*lleno, cs("h8")), 0u);
    EXPECT_EQ(ataquesAlfil(*lleno, cs("h8")), bit("g7"));
    auto t = tableroConOcupacion(bit("d4") | bit("d6") | bit("d1"), bit("d6"));
    EXPECT_EQ(ataquesColumna(*t, cs("d4")),
              bit("d5") | bit("d6") | bit("d3") | bit("d2") | bit("d1"));
    // A second initialisation changes nothing.
    const Bitboard antes = TablaAtaquesDiagonal315[cs("d4")][17];
    inicializarTablas();
    EXPECT_EQ(TablaAtaquesDiagonal315[cs("d4")][17], antes);
}

// Every table against a walk on the board, and the geometry tables against each other.
TEST(Tablas, TablasDePiezasYGeometria) {
    prepararTablasGlobales();
    const int pasos[9][2] = {{0, 0}, {0, 1},  {0, -1}, {1, 0},  {-1, 0},
                             {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (Casilla s = 0; s < 64; ++s) {
        Bitboard rey = 0, caballo = 0, peonBlanco = 0, peonNegro = 0;
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
        EXPECT_EQ(MascaraCasilla[s], Bitboard{1} << s);
        EXPECT_EQ(MascaraRotado90[s], rotarPorFormula(MascaraCasilla[s], 90));
        EXPECT_EQ(MascaraRotado45[s], rotarPorFormula(MascaraCasilla[s], 45));
        EXPECT_EQ(MascaraRotado315[s], rotarPorFormula(MascaraCasilla[s], 315));
        EXPECT_EQ(AtaquesTorreVacio[s], rayoCaminado(s, 1, 0, 0) | rayoCaminado(s, -1, 0, 0) |
                                            rayoCaminado(s, 0, 1, 0) | rayoCaminado(s, 0, -1, 0));
        EXPECT_EQ(AtaquesAlfilVacio[s], rayoCaminado(s, 1, 1, 0) | rayoCaminado(s, -1, -1, 0) |
                                            rayoCaminado(s, 1, -1, 0) | rayoCaminado(s, -1, 1, 0));
        Bitboard todos = 0;
        for (int d = 1; d <= 8; ++d) {
            EXPECT_EQ(Rayos[d][s], rayoCaminado(s, pasos[d][0], pasos[d][1], 0)) << s << " " << d;
            todos |= Rayos[d][s];
            for (Casilla t = 0; t < 64; ++t)
                if (Rayos[d][s] >> t & 1) {
                    EXPECT_EQ(Direccion[s][t], d);
                    // Entre is the ray from s up to t, t excluded.
                    EXPECT_EQ(Entre[s][t], Rayos[d][s] & ~Rayos[d][t] & ~MascaraCasilla[t]);
                }
        }
        for (Casilla t = 0; t < 64; ++t)
            if (!(todos >> t & 1)) {
                EXPECT_EQ(Direccion[s][t], SinDireccion);
                EXPECT_EQ(Entre[s][t], 0u);
            }
    }
    EXPECT_EQ(Direccion[cs("h1")][cs("a8")], 6);
    EXPECT_EQ(Rayos[Norte][cs("e4")], bit("e5") | bit("e6") | bit("e7") | bit("e8"));
    EXPECT_EQ(VecinosAlPaso[cs("a4")], bit("b4"));
    EXPECT_EQ(VecinosAlPaso[cs("e5")], bit("d5") | bit("f5"));
    EXPECT_EQ(VecinosAlPaso[cs("e3")], 0u);
}

TEST(Tablas, PrimerBit) {
    prepararTablasGlobales();
    EXPECT_EQ(PrimerBit[0], 0);
    for (unsigned v = 1; v < 65536; ++v) ASSERT_EQ(PrimerBit[v], __builtin_ctz(v)) << v;
    EXPECT_EQ(primerBitActivo(bit("h8")), 63);
    EXPECT_EQ(primerBitActivo(bit("a1") | bit("h8")), 0);
    Bitboard bb = bit("e8") | bit("b2") | bit("g6");
    EXPECT_EQ(extraerPrimerBit(bb), cs("b2"));
    EXPECT_EQ(extraerPrimerBit(bb), cs("g6"));
    EXPECT_EQ(extraerPrimerBit(bb), cs("e8"));
    EXPECT_EQ(bb, 0u);
}

} // namespace
