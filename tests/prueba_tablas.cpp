#include <gtest/gtest.h>

#include <random>

#include "apoyo/posiciones.h"
#include "generacion/ataques.h"
#include "generacion/bits.h"
#include "generacion/tablas.h"

namespace {

constexpr Casilla a1 = 0, b1 = 1, c1 = 2, d1 = 3, e1 = 4, g1 = 6, h1 = 7, b2 = 9, c2 = 10, e2 = 12,
                  a2 = 8, g2 = 14, b3 = 17, e3 = 20, a4 = 24, b4 = 25, d4 = 27, e4 = 28, d3 = 19,
                  d2 = 11, d5 = 35, e5 = 36, f5 = 37, d6 = 43, e6 = 44, e7 = 52, e8 = 60, g6 = 46,
                  g7 = 54, h7 = 55, a8 = 56, g8 = 62, h8 = 63;

Bitboard casillas(std::initializer_list<Casilla> lista) {
    Bitboard bb = 0;
    for (Casilla c : lista) bb |= Bitboard{1} << c;
    return bb;
}

// Rotated layouts written from their definition, independent of the mask tables.
Bitboard rotarPorFormula(Bitboard occ, int capa) {
    Bitboard r = 0;
    for (Casilla s = 0; s < 64; ++s) {
        if (!(occ >> s & 1)) continue;
        const int f = s & 7, k = s >> 3;
        int bit = 0;
        if (capa == 90) bit = 8 * f + (7 - k);
        if (capa == 45) bit = 8 * ((f + k + 1) % 8) + f;
        if (capa == 315) bit = 8 * (((k - f) % 8 + 8) % 8) + f;
        r |= Bitboard{1} << bit;
    }
    return r;
}

// Squares reached from s stepping (df, dr) until the edge, including the first occupied one.
Bitboard rayoCaminado(Casilla s, int df, int dr, Bitboard occ) {
    Bitboard r = 0;
    int f = (s & 7) + df, k = (s >> 3) + dr;
    while (f >= 0 && f < 8 && k >= 0 && k < 8) {
        const Casilla t = k * 8 + f;
        r |= Bitboard{1} << t;
        if (occ >> t & 1) break;
        f += df;
        k += dr;
    }
    return r;
}

class Tablas : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { prepararTablasGlobales(); }

    // A board whose occupancy is occ (split between the colours), for the line lookups.
    static std::unique_ptr<Tablero> tableroConOcupacion(Bitboard occ, Bitboard blancas) {
        auto t = tableroDesdeFEN("8/8/8/8/8/8/8/8 w - - 0 1");
        t->piezasBlancas = occ & blancas;
        t->piezasNegras = occ & ~blancas;
        t->Rotado90 = rotarPorFormula(occ, 90);
        t->Rotado45 = rotarPorFormula(occ, 45);
        t->Rotado315 = rotarPorFormula(occ, 315);
        return t;
    }
};

TEST_F(Tablas, IndicesRotadosSonPermutacionesYCasillaRotado90EsLaInversa) {
    for (const int32_t* tabla : {IndiceRotado90, IndiceRotado45, IndiceRotado315}) {
        Bitboard vistos = 0;
        for (Casilla s = 0; s < 64; ++s) vistos |= Bitboard{1} << tabla[s];
        EXPECT_EQ(vistos, ~Bitboard{0});
    }
    for (Casilla s = 0; s < 64; ++s) {
        EXPECT_EQ(CasillaRotado90[IndiceRotado90[s]], s);
        EXPECT_EQ(MascaraRotado90[s], rotarPorFormula(MascaraCasilla[s], 90));
        EXPECT_EQ(MascaraRotado45[s], rotarPorFormula(MascaraCasilla[s], 45));
        EXPECT_EQ(MascaraRotado315[s], rotarPorFormula(MascaraCasilla[s], 315));
        EXPECT_EQ(InversaCasilla[s], ~MascaraCasilla[s]);
        EXPECT_EQ(InversaRotado45[s], ~MascaraRotado45[s]);
    }
    EXPECT_EQ(IndiceRotado90[a1], 7);
    EXPECT_EQ(IndiceRotado45[a1], 8);
    EXPECT_EQ(IndiceRotado315[a8], 56);
    EXPECT_EQ(DesplazamientoRotado45[h8], 64);
    EXPECT_EQ(DesplazamientoRotado45[a8], 1);
    for (Casilla s = 0; s < 64; ++s) {
        EXPECT_GE(DesplazamientoRotado45[s], 1);
        EXPECT_LE(DesplazamientoRotado315[s], 58);
    }
}

TEST_F(Tablas, LineasDeUnaCasillaNoAtacanNada) {
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(TablaAtaquesDiagonal45[a1][i], 0u) << i;
        EXPECT_EQ(TablaAtaquesDiagonal45[h8][i], 0u) << i;
        EXPECT_EQ(TablaAtaquesDiagonal315[a8][i], 0u) << i;
        EXPECT_EQ(TablaAtaquesDiagonal315[h1][i], 0u) << i;
    }
    auto lleno = tableroConOcupacion(~Bitboard{0}, 0);
    EXPECT_EQ(ataquesDiagonal45(*lleno, h8), 0u);
    EXPECT_EQ(ataquesAlfil(*lleno, h8), casillas({g7}));
}

TEST_F(Tablas, TorreEnD4ConBloqueosEnD6YD1) {
    auto t = tableroConOcupacion(casillas({d4, d6, d1}), casillas({d6}));
    EXPECT_EQ(ataquesColumna(*t, d4), casillas({d5, d6, d3, d2, d1}));
    EXPECT_EQ(ataquesFila(*t, d4), MascaraFila[3] & ~casillas({d4}));
}

TEST_F(Tablas, AtaquesDeslizantesIgualAlCaminoDelRayo) {
    std::mt19937_64 azar(20240611);
    for (int prueba = 0; prueba < 1500; ++prueba) {
        // Mix sparse and dense occupancies.
        Bitboard occ = azar();
        if (prueba % 3 == 0) occ &= azar();
        if (prueba % 3 == 1) occ &= azar() & azar();
        auto t = tableroConOcupacion(occ, azar());
        for (Casilla s = 0; s < 64; ++s) {
            const Bitboard fila = rayoCaminado(s, 1, 0, occ) | rayoCaminado(s, -1, 0, occ);
            const Bitboard columna = rayoCaminado(s, 0, 1, occ) | rayoCaminado(s, 0, -1, occ);
            const Bitboard anti = rayoCaminado(s, -1, 1, occ) | rayoCaminado(s, 1, -1, occ);
            const Bitboard diag = rayoCaminado(s, 1, 1, occ) | rayoCaminado(s, -1, -1, occ);
            ASSERT_EQ(ataquesFila(*t, s), fila) << "casilla " << s << " occ " << occ;
            ASSERT_EQ(ataquesColumna(*t, s), columna) << "casilla " << s << " occ " << occ;
            ASSERT_EQ(ataquesDiagonal45(*t, s), anti) << "casilla " << s << " occ " << occ;
            ASSERT_EQ(ataquesDiagonal315(*t, s), diag) << "casilla " << s << " occ " << occ;
        }
    }
}

TEST_F(Tablas, AtaquesEnTableroVacio) {
    for (Casilla s = 0; s < 64; ++s) {
        EXPECT_EQ(AtaquesTorreVacio[s],
                  (MascaraFila[s >> 3] | MascaraColumna[s & 7]) & ~MascaraCasilla[s]);
        EXPECT_EQ(AtaquesAlfilVacio[s], rayoCaminado(s, 1, 1, 0) | rayoCaminado(s, -1, -1, 0) |
                                            rayoCaminado(s, 1, -1, 0) | rayoCaminado(s, -1, 1, 0));
    }
    EXPECT_EQ(contarBits(AtaquesTorreVacio[d4]), 14);
    EXPECT_EQ(contarBits(AtaquesAlfilVacio[d4]), 13);
    EXPECT_EQ(contarBits(AtaquesAlfilVacio[a1]), 7);
}

TEST_F(Tablas, DireccionEntreYRayos) {
    EXPECT_EQ(Entre[a1][h8], casillas({b2, 18, 27, 36, 45, g7}));
    EXPECT_EQ(Entre[h8][a1], Entre[a1][h8]);
    EXPECT_EQ(Entre[e1][e2], 0u);
    EXPECT_EQ(Entre[a1][b3], 0u);
    EXPECT_EQ(Entre[e1][e8], casillas({e2, e3, e4, e5, e6, e7}));
    EXPECT_EQ(Entre[a1][h1], casillas({b1, c1, d1, e1, 5, g1}));
    EXPECT_EQ(Direccion[e4][e4], SinDireccion);
    EXPECT_EQ(Direccion[a1][b3], SinDireccion);
    EXPECT_EQ(Direccion[h1][a8], Noroeste);
    EXPECT_EQ(Direccion[a8][h1], Sureste);
    EXPECT_EQ(Direccion[e1][e8], Norte);
    EXPECT_EQ(Direccion[e8][e1], Sur);
    EXPECT_EQ(Direccion[a1][h1], Este);
    EXPECT_EQ(Direccion[h1][a1], Oeste);
    EXPECT_EQ(Direccion[a1][h8], Noreste);
    EXPECT_EQ(Direccion[h8][a1], Suroeste);
    // h1 and a2 are consecutive numbers but not on a line.
    EXPECT_EQ(Direccion[h1][a2], SinDireccion);
    EXPECT_EQ(Rayos[Norte][e4], casillas({e5, e6, e7, e8}));
    EXPECT_EQ(Rayos[SinDireccion][e4], 0u);

    const int pasos[9][2] = {{0, 0}, {0, 1},  {0, -1}, {1, 0},  {-1, 0},
                             {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (Casilla s = 0; s < 64; ++s) {
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
}

TEST_F(Tablas, ReyCaballoYPeones) {
    EXPECT_EQ(TablaAtaquesCaballo[a1], casillas({b3, c2}));
    EXPECT_EQ(TablaAtaquesRey[h8], casillas({g8, g7, h7}));
    EXPECT_EQ(TablaAtaquesPeonBlanco[a2], casillas({b3}));
    EXPECT_EQ(TablaAtaquesPeonNegro[h7], casillas({g6}));
    EXPECT_EQ(TablaAtaquesPeonBlanco[h8 - 7], 0u);
    EXPECT_EQ(TablaAtaquesPeonNegro[b1], 0u);
    EXPECT_EQ(contarBits(TablaAtaquesCaballo[d4]), 8);
    EXPECT_EQ(contarBits(TablaAtaquesRey[d4]), 8);
    for (Casilla s = 0; s < 64; ++s) {
        Bitboard rey = 0, caballo = 0;
        for (int df = -2; df <= 2; ++df)
            for (int dr = -2; dr <= 2; ++dr) {
                const int f = (s & 7) + df, k = (s >> 3) + dr;
                if (f < 0 || f > 7 || k < 0 || k > 7) continue;
                const int ad = std::abs(df), ar = std::abs(dr);
                if (ad <= 1 && ar <= 1 && (ad || ar)) rey |= Bitboard{1} << (k * 8 + f);
                if ((ad == 1 && ar == 2) || (ad == 2 && ar == 1))
                    caballo |= Bitboard{1} << (k * 8 + f);
            }
        EXPECT_EQ(TablaAtaquesRey[s], rey) << s;
        EXPECT_EQ(TablaAtaquesCaballo[s], caballo) << s;
        // Symmetry used by the attack queries.
        for (Casilla t = 0; t < 64; ++t)
            EXPECT_EQ(TablaAtaquesPeonBlanco[s] >> t & 1, TablaAtaquesPeonNegro[t] >> s & 1);
    }
}

TEST_F(Tablas, VecinosAlPasoYMascaras) {
    EXPECT_EQ(VecinosAlPaso[a4], casillas({b4}));
    EXPECT_EQ(VecinosAlPaso[e5], casillas({d5, f5}));
    EXPECT_EQ(VecinosAlPaso[e3], 0u);
    EXPECT_EQ(VecinosAlPaso[e4], casillas({d4, 29}));
    EXPECT_EQ(VecinosAlPaso[h8 - 24], casillas({g8 - 24}));
    EXPECT_EQ(MascaraFila[0], 0xFFu);
    EXPECT_EQ(MascaraColumna[7], 0x8080808080808080ull);
    for (Casilla s = 0; s < 64; ++s) EXPECT_EQ(MascaraCasilla[s], Bitboard{1} << s);
}

TEST_F(Tablas, PrimerBit) {
    EXPECT_EQ(PrimerBit[0], 0);
    EXPECT_EQ(PrimerBit[1], 0);
    EXPECT_EQ(PrimerBit[0x8000], 15);
    EXPECT_EQ(PrimerBit[0xFFFF], 0);
    EXPECT_EQ(PrimerBit[0x0C00], 10);
    for (unsigned v = 1; v < 65536; ++v) ASSERT_EQ(PrimerBit[v], __builtin_ctz(v)) << v;
    EXPECT_EQ(primerBitActivo(casillas({h8})), h8);
    EXPECT_EQ(primerBitActivo(casillas({a1, h8})), a1);
    Bitboard bb = casillas({e8, b2, g6});
    EXPECT_EQ(extraerPrimerBit(bb), b2);
    EXPECT_EQ(extraerPrimerBit(bb), g6);
    EXPECT_EQ(extraerPrimerBit(bb), e8);
    EXPECT_EQ(bb, 0u);
}

TEST_F(Tablas, SegundaInicializacionNoCambiaNada) {
    const Bitboard antes = TablaAtaquesDiagonal315[d4][17];
    const Bitboard rayo = Rayos[Noreste][a1];
    inicializarTablas();
    EXPECT_EQ(TablaAtaquesDiagonal315[d4][17], antes);
    EXPECT_EQ(Rayos[Noreste][a1], rayo);
    EXPECT_EQ(MascaraFila[3], 0xFF000000ull);
}

} // namespace
