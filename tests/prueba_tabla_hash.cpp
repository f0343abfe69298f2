#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"

namespace {

constexpr uint64_t ClaveA = 0x0123456789ABCDEFULL;
constexpr Movimiento MovA = crearMovimiento(12, 28, PeonBlanco);

class TablaHashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reiniciarEstadisticas();
        tabla.redimensionar(1);
    }
    TablaHash tabla{nullptr};
};

TEST_F(TablaHashTest, GuardarYSondear) {
    EXPECT_EQ(TablaHash(nullptr).numEntradas, 2u * 65536u);
    // Key 0 matches the zeroed key words of an empty entry; only the generation tells it apart.
    std::mt19937_64 azar(7);
    EXPECT_EQ(tabla.sondear(0, 0), SondeoFallido);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(tabla.sondear(azar(), 0), SondeoFallido);

    tabla.guardar(ClaveA, 4, 120, CotaInferior, MovA, 40, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 40), CotaInferior);
    EXPECT_EQ(tabla.puntuacion(4), 120);
    EXPECT_EQ(tabla.sondear(ClaveA, 41), SondeoPocaProfundidad);
    EXPECT_EQ(tabla.movimientoAcierto(), MovA);
    // Both key words must match.
    EXPECT_EQ(tabla.sondear(ClaveA ^ (1ULL << 40), 0), SondeoFallido);
    EXPECT_EQ(tabla.sondear(ClaveA ^ 1ULL, 0), SondeoFallido);

    for (int32_t cota = CotaSuperior; cota <= CotaExacta; ++cota)
        tabla.guardar(11 * cota, 1, -40 * cota, cota, 0, 8, cota == CotaExacta);
    for (int32_t cota = CotaSuperior; cota <= CotaExacta; ++cota) {
        EXPECT_EQ(tabla.sondear(11 * cota, 8), cota);
        EXPECT_EQ(tabla.puntuacion(1), -40 * cota);
        EXPECT_EQ(tabla.amenazaAcierto(), cota == CotaExacta);
        EXPECT_EQ(tabla.movimientoAcierto(), 0u);
    }
    // The depth is kept modulo 128 and the stored value compared with the full new depth.
    tabla.guardar(ClaveA, 1, 10, CotaInferior, 0, 130, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 3), SondeoPocaProfundidad);
    tabla.guardar(ClaveA, 1, 11, CotaExacta, 0, 3, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 3), CotaExacta);
}

// Mate scores are kept relative to the entry's position; others unchanged.
TEST_F(TablaHashTest, PuntuacionesDeMate) {
    const int32_t casos[][4] = {{32760, 5, 3, 32762},  {-32760, 5, 3, -32762},
                                {32269, 9, 2, 32276},  {-32269, 9, 2, -32276},
                                {32268, 9, 20, 32268}, {-32268, 9, 20, -32268},
                                {-1000, 9, 20, -1000}, {0, 9, 20, 0}};
    for (const auto& c : casos) {
        tabla.guardar(ClaveA, c[1], c[0], CotaExacta, MovA, 16, true);
        ASSERT_EQ(tabla.sondear(ClaveA, 16), CotaExacta);
        EXPECT_EQ(tabla.puntuacion(c[2]), c[3]) << c[0];
    }
}

TEST_F(TablaHashTest, Reemplazo) {
    tabla.guardar(ClaveA, 1, 50, CotaExacta, MovA, 40, false);
    tabla.guardar(ClaveA, 1, 70, CotaInferior, 0, 24, false);
    ASSERT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
    EXPECT_EQ(tabla.puntuacion(1), 50);
    // A different position in the same slot: dropped when shallower, taken when as deep.
    const uint64_t otra = ClaveA + (1ULL << 32);
    tabla.guardar(otra, 1, 70, CotaInferior, 0, 39, false);
    EXPECT_EQ(tabla.sondear(otra, 0), SondeoFallido);
    tabla.guardar(otra, 1, 80, CotaSuperior, 0, 40, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), SondeoFallido);
    ASSERT_EQ(tabla.sondear(otra, 0), CotaSuperior);
    EXPECT_EQ(tabla.puntuacion(1), 80);
    EXPECT_EQ(tabla.ocupacion[0], 1u);

    // An entry of the previous search is replaced by anything and is not found.
    tabla.guardar(77, 1, 50, CotaExacta, MovA, 8, false);
    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.sondear(otra, 0), SondeoFallido);
    EXPECT_EQ(tabla.hashfull(), 0);
    tabla.guardar(ClaveA + (5ULL << 32), 1, -3, CotaSuperior, 0, 0, false);
    EXPECT_EQ(tabla.sondear(ClaveA + (5ULL << 32), 0), CotaSuperior);
    EXPECT_EQ(tabla.ocupacion[0], 1u);
    EXPECT_EQ(tabla.ocupacion[1], 1u);
    // The rewritten slot now belongs to this search and obeys the depth rule again.
    tabla.guardar(ClaveA, 1, 50, CotaExacta, MovA, 16, false);
    tabla.guardar(ClaveA + (6ULL << 32), 1, 60, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
    EXPECT_EQ(tabla.ocupacion[1], 1u);
    // Every store and probe counts, dropped stores too.
    EXPECT_EQ(estadisticas.guardados, 8u);
    EXPECT_EQ(estadisticas.sondeos, 7u);
    EXPECT_EQ(estadisticas.aciertos, 4u);
}

TEST_F(TablaHashTest, GeneracionesVaciarYHashfull) {
    // Entries at the start, in the middle and at the end of the table.
    const uint64_t clave = 100 * 0x100000001ULL, antes[] = {clave, ClaveA, 0xFFFF};
    tabla.nuevaBusqueda();
    for (uint64_t k : antes) tabla.guardar(k, 1, 1, CotaExacta, MovA, 8, false);
    tabla.vaciar();
    // After a clear the searches run with generations 2 .. 7, 1, 2: the eighth sees the first,
    // and the first finds nothing from before the clear.
    for (int busqueda = 0; busqueda < 8; ++busqueda) {
        tabla.nuevaBusqueda();
        ASSERT_EQ(tabla.generacion, busqueda == 6 ? 1 : busqueda % 7 + 2);
        EXPECT_EQ(tabla.sondear(clave, 8), busqueda == 7 ? CotaExacta : SondeoFallido);
        if (busqueda > 0) continue;
        for (uint64_t k : antes) EXPECT_EQ(tabla.sondear(k, 0), SondeoFallido) << k;
        for (uint64_t k = 1; k <= 100; ++k)
            tabla.guardar(k * 0x100000001ULL, 1, 0, CotaExacta, 0, 8, false);
    }
    EXPECT_EQ(tabla.hashfull(), 1); // 100 of 65536, truncated

    tabla.vaciar();
    tabla.nuevaBusqueda();
    // 6554 entries are 100.006 per mille; 6553 are 99.99.
    for (uint64_t k = 0; k < 6553; ++k) tabla.guardar(k, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 99);
    tabla.guardar(6553, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 100);
    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.hashfull(), 0);
    for (uint64_t k = 0; k < 65536; ++k) tabla.guardar(k, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 1000);
    EXPECT_EQ(tabla.ocupacion[1], 0u);
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
