#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"

namespace {

constexpr uint64_t ClaveA = 0x0123456789ABCDEFULL, OtraA = ClaveA + (1ULL << 32);
constexpr Movimiento MovA = crearMovimiento(12, 28, PeonBlanco);

class TablaHashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reiniciarEstadisticas();
        tabla.redimensionar(1);
    }
    // Stores a score without move and threat; the score is what a probe at ply 1 then gives.
    void guardar(uint64_t clave, int32_t profundidad, int32_t puntuacion = 0,
                 int32_t cota = CotaExacta) {
        tabla.guardar(clave, 1, puntuacion, cota, 0, profundidad, false);
    }
    TablaHash tabla{nullptr};
};

// Key 0 matches the zeroed key words of an empty entry: only the generation tells it apart.
// Both key words must match; the depth is kept modulo 128 and compared with the full new depth.
TEST_F(TablaHashTest, GuardarYSondear) {
    EXPECT_EQ(TablaHash(nullptr).numEntradas, 2u * 65536u);
    std::mt19937_64 azar(7);
    EXPECT_EQ(tabla.sondear(0, 0), SondeoFallido);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(tabla.sondear(azar(), 0), SondeoFallido);
    tabla.guardar(ClaveA, 4, 120, CotaInferior, MovA, 40, true);
    EXPECT_EQ(tabla.sondear(ClaveA, 40), CotaInferior);
    EXPECT_EQ(tabla.puntuacion(4), 120);
    EXPECT_EQ(tabla.movimientoAcierto(), MovA);
    EXPECT_TRUE(tabla.amenazaAcierto());
    EXPECT_EQ(tabla.sondear(ClaveA, 41), SondeoPocaProfundidad);
    EXPECT_EQ(tabla.sondear(ClaveA ^ (1ULL << 40), 0), SondeoFallido);
    EXPECT_EQ(tabla.sondear(ClaveA ^ 1ULL, 0), SondeoFallido);
    for (int32_t cota = CotaSuperior; cota <= CotaExacta; ++cota) {
        guardar(11 * cota, 8, -40 * cota, cota);
        EXPECT_EQ(tabla.sondear(11 * cota, 8), cota);
        EXPECT_EQ(tabla.puntuacion(1), -40 * cota);
        EXPECT_EQ(tabla.movimientoAcierto() + tabla.amenazaAcierto(), 0u);
    }
    guardar(ClaveA, 130);
    EXPECT_EQ(tabla.sondear(ClaveA, 3), SondeoPocaProfundidad);
}

// Mate scores are kept relative to the entry's position; others unchanged.
TEST_F(TablaHashTest, PuntuacionesDeMate) {
    const int32_t casos[][4] = {{32760, 5, 3, 32762},  {-32760, 5, 3, -32762},
                                {32269, 9, 2, 32276},  {-32269, 9, 2, -32276},
                                {32268, 9, 20, 32268}, {-32268, 9, 20, -32268}};
    for (const auto& c : casos) {
        tabla.guardar(ClaveA, c[1], c[0], CotaExacta, MovA, 16, true);
        ASSERT_EQ(tabla.sondear(ClaveA, 16), CotaExacta);
        EXPECT_EQ(tabla.puntuacion(c[2]), c[3]) << c[0];
    }
}

// Within a search a slot keeps the deeper entry, the same position's too; an entry of an earlier
// search is replaced by anything and is not found. Every store and probe counts.
TEST_F(TablaHashTest, Reemplazo) {
    guardar(ClaveA, 40, 50);
    guardar(ClaveA, 24, 70);
    guardar(OtraA, 39);
    ASSERT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
    EXPECT_EQ(tabla.puntuacion(1), 50);
    guardar(OtraA, 40, 80, CotaSuperior);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), SondeoFallido);
    ASSERT_EQ(tabla.sondear(OtraA, 0), CotaSuperior);
    EXPECT_EQ(tabla.puntuacion(1), 80);
    guardar(77, 8);
    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.sondear(OtraA, 0), SondeoFallido);
    guardar(ClaveA, 0);
    guardar(OtraA, 0);
    EXPECT_EQ(tabla.sondear(OtraA, 0), CotaExacta);
    EXPECT_EQ(tabla.ocupacion[0] + 10 * tabla.ocupacion[1], 11u);
    EXPECT_EQ(estadisticas.guardados, 7u);
    EXPECT_EQ(estadisticas.sondeos, 5u);
    EXPECT_EQ(estadisticas.aciertos, 3u);
}

// After a clear the searches run with generations 2 .. 7, 1, 2: the eighth sees the first, and
// the first finds nothing from before the clear. hashfull counts this search's entries per mille,
// truncated.
TEST_F(TablaHashTest, GeneracionesVaciarYHashfull) {
    const uint64_t clave = 100 * 0x100000001ULL, antes[] = {clave, ClaveA, 0xFFFF};
    tabla.nuevaBusqueda();
    for (uint64_t k : antes) guardar(k, 8);
    tabla.vaciar();
    for (int busqueda = 0; busqueda < 8; ++busqueda) {
        tabla.nuevaBusqueda();
        EXPECT_EQ(tabla.sondear(clave, 8), busqueda == 7 ? CotaExacta : SondeoFallido);
        if (busqueda > 0) continue;
        for (uint64_t k : antes) EXPECT_EQ(tabla.sondear(k, 0), SondeoFallido) << k;
        for (uint64_t k = 1; k <= 100; ++k) guardar(k * 0x100000001ULL, 8);
    }
    EXPECT_EQ(tabla.hashfull(), 1);
    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.hashfull(), 0);
    // 6553 entries are 99.99 per mille, 6554 are 100.006.
    for (uint64_t k = 0; k < 6553; ++k) guardar(k, 8);
    EXPECT_EQ(tabla.hashfull(), 99);
    guardar(6553, 8);
    EXPECT_EQ(tabla.hashfull(), 100);
}

// The index is the low key word modulo the entry count, also for sizes not a power of two.
TEST_F(TablaHashTest, IndiceTrasRedimensionar) {
    std::mt19937_64 azar(12345);
    for (uint32_t mb : {3u, 37u}) {
        tabla.redimensionar(mb);
        ASSERT_EQ(tabla.numEntradas, mb * 65536u);
        for (int i = 0; i < 20000; ++i) {
            const uint64_t k = i < 2 ? 0xFFFFFFFFu - i : azar();
            ASSERT_EQ(tabla.indice(k), static_cast<uint32_t>(k) % tabla.numEntradas) << k;
        }
    }
}

TEST(TablaHashMuerte, SinEntradasAvisaYTerminaConCero) {
    TablaHash tabla(nullptr);
    // 65536 MB wraps the 32-bit entry count to 0.
    for (uint32_t mb : {0u, 65536u})
        EXPECT_EXIT(
            {
                dup2(STDERR_FILENO, STDOUT_FILENO);
                tabla.redimensionar(mb);
            },
            ::testing::ExitedWithCode(0), "^Problema creando la tabla hash\n$");
}

} // namespace
