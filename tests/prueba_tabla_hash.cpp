#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"

namespace {

constexpr uint64_t ClaveA = 0x0123456789ABCDEFULL;
constexpr Movimiento MovA = crearMovimiento(12, 28, PeonBlanco);

uint32_t palabraEsperada(int32_t puntuacion, int32_t cota, int32_t profundidad, bool amenaza,
                         int32_t generacion) {
    return (static_cast<uint32_t>(puntuacion) << 16) | (static_cast<uint32_t>(cota) << 14) |
           (static_cast<uint32_t>(profundidad) << 7) | (static_cast<uint32_t>(amenaza) << 6) |
           (static_cast<uint32_t>(generacion) << 3);
}

class TablaHashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reiniciarEstadisticas();
        tabla.redimensionar(1);
    }
    const EntradaHash& entradaDe(uint64_t clave) const {
        return tabla.entradas[static_cast<uint32_t>(clave) % tabla.numEntradas];
    }
    TablaHash tabla{nullptr};
};

TEST(TablaHashConstruccion, EmpiezaConDosMegasVaciaYEnGeneracionUno) {
    TablaHash tabla(nullptr);
    EXPECT_EQ(tabla.numEntradas, 2u * 65536u);
    EXPECT_EQ(tabla.generacion, 1);
    EXPECT_EQ(tabla.hashfull(), 0);
    for (uint64_t g : tabla.ocupacion) EXPECT_EQ(g, 0u);
}

TEST_F(TablaHashTest, TablaRecienVaciadaNoEncuentraNada) {
    // Key 0 matches the zeroed key words of an empty entry; only the generation tells it apart.
    std::mt19937_64 azar(7);
    EXPECT_EQ(tabla.sondear(0, 0), SondeoFallido);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(tabla.sondear(azar(), 0), SondeoFallido);
    EXPECT_EQ(tabla.movimientoAcierto(), 0u);
    EXPECT_FALSE(tabla.amenazaAcierto());
}

TEST_F(TablaHashTest, CotaInferiorSegunProfundidadPedida) {
    tabla.guardar(ClaveA, 4, 120, CotaInferior, MovA, 40, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 40), CotaInferior);
    EXPECT_EQ(tabla.puntuacion(4), 120);
    EXPECT_EQ(tabla.sondear(ClaveA, 32), CotaInferior);
    EXPECT_EQ(tabla.sondear(ClaveA, 48), SondeoPocaProfundidad);
    EXPECT_EQ(tabla.movimientoAcierto(), MovA);
    EXPECT_EQ(tabla.profundidadAcierto(), 40);
    EXPECT_EQ(tabla.puntuacion(9), 120);
}

TEST_F(TablaHashTest, CadaCotaYMarcaDeAmenazaSeDevuelven) {
    const uint64_t claves[3] = {11, 22, 33};
    for (int32_t cota = CotaSuperior; cota <= CotaExacta; ++cota)
        tabla.guardar(claves[cota - 1], 1, -40 * cota, cota, 0, 8, cota == CotaExacta);
    for (int32_t cota = CotaSuperior; cota <= CotaExacta; ++cota) {
        EXPECT_EQ(tabla.sondear(claves[cota - 1], 8), cota);
        EXPECT_EQ(tabla.puntuacion(1), -40 * cota);
        EXPECT_EQ(tabla.amenazaAcierto(), cota == CotaExacta);
        EXPECT_EQ(tabla.movimientoAcierto(), 0u);
    }
}

TEST_F(TablaHashTest, LaClaveAltaTambienDebeCoincidir) {
    tabla.guardar(ClaveA, 1, 5, CotaExacta, MovA, 8, false);
    EXPECT_EQ(tabla.sondear(ClaveA ^ (1ULL << 40), 0), SondeoFallido);
    EXPECT_EQ(tabla.sondear(ClaveA ^ 1ULL, 0), SondeoFallido);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
}

TEST_F(TablaHashTest, MateSeGuardaRelativoALaPosicion) {
    tabla.guardar(ClaveA, 5, 32760, CotaExacta, MovA, 16, true);
    EXPECT_EQ(entradaDe(ClaveA).datos, palabraEsperada(32765, CotaExacta, 16, true, 1));
    EXPECT_EQ(entradaDe(ClaveA).claveBaja, static_cast<uint32_t>(ClaveA));
    EXPECT_EQ(entradaDe(ClaveA).claveAlta, static_cast<uint32_t>(ClaveA >> 32));
    EXPECT_EQ(entradaDe(ClaveA).movimiento, MovA);
    ASSERT_EQ(tabla.sondear(ClaveA, 16), CotaExacta);
    EXPECT_EQ(tabla.puntuacion(3), 32762);
    EXPECT_EQ(tabla.puntuacion(5), 32760);
}

TEST_F(TablaHashTest, MateEnContraSeGuardaRelativoALaPosicion) {
    tabla.guardar(ClaveA, 5, -32760, CotaSuperior, 0, 16, false);
    EXPECT_EQ(puntuacionDe(entradaDe(ClaveA).datos), -32765);
    EXPECT_EQ(entradaDe(ClaveA).datos, palabraEsperada(-32765, CotaSuperior, 16, false, 1));
    ASSERT_EQ(tabla.sondear(ClaveA, 0), CotaSuperior);
    EXPECT_EQ(tabla.puntuacion(3), -32762);
}

TEST_F(TablaHashTest, PuntuacionesNormalesNoCambian) {
    for (int32_t p : {-32268, -32267, -1000, -1, 0, 1, 999, 32267, 32268}) {
        tabla.guardar(ClaveA, 9, p, CotaExacta, 0, 8, false);
        ASSERT_EQ(tabla.sondear(ClaveA, 8), CotaExacta);
        EXPECT_EQ(puntuacionDe(entradaDe(ClaveA).datos), p);
        EXPECT_EQ(tabla.puntuacion(20), p) << p;
    }
    // Just beyond the threshold on each side counts as mate.
    tabla.guardar(ClaveA, 9, 32269, CotaExacta, 0, 8, false);
    tabla.sondear(ClaveA, 8);
    EXPECT_EQ(puntuacionDe(entradaDe(ClaveA).datos), 32278);
    EXPECT_EQ(tabla.puntuacion(2), 32276);
    tabla.guardar(ClaveA, 9, -32269, CotaExacta, 0, 8, false);
    tabla.sondear(ClaveA, 8);
    EXPECT_EQ(puntuacionDe(entradaDe(ClaveA).datos), -32278);
    EXPECT_EQ(tabla.puntuacion(2), -32276);
}

TEST_F(TablaHashTest, ReemplazoDentroDeLaMismaBusqueda) {
    tabla.guardar(ClaveA, 1, 50, CotaExacta, MovA, 40, false);
    tabla.guardar(ClaveA, 1, 70, CotaInferior, 0, 24, false);
    ASSERT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
    EXPECT_EQ(tabla.puntuacion(1), 50);
    EXPECT_EQ(tabla.profundidadAcierto(), 40);

    // A different position in the same slot, shallower: dropped too.
    const uint64_t otra = ClaveA + (1ULL << 32);
    tabla.guardar(otra, 1, 70, CotaInferior, 0, 39, false);
    EXPECT_EQ(tabla.sondear(otra, 0), SondeoFallido);

    // Equal depth replaces, and so does a deeper one.
    tabla.guardar(otra, 1, 80, CotaSuperior, 0, 40, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), SondeoFallido);
    ASSERT_EQ(tabla.sondear(otra, 0), CotaSuperior);
    EXPECT_EQ(tabla.puntuacion(1), 80);
    tabla.guardar(otra, 1, 90, CotaExacta, MovA, 64, false);
    ASSERT_EQ(tabla.sondear(otra, 0), CotaExacta);
    EXPECT_EQ(tabla.puntuacion(1), 90);

    // Rewrites inside one search do not count the slot twice.
    EXPECT_EQ(tabla.ocupacion[0], 1u);
}

TEST_F(TablaHashTest, EntradaDeBusquedaAnteriorSeReemplazaSiempre) {
    tabla.guardar(ClaveA, 1, 50, CotaExacta, MovA, 120, false);
    tabla.guardar(77, 1, 50, CotaExacta, MovA, 8, false);
    EXPECT_EQ(tabla.ocupacion[0], 2u);

    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.generacion, 2);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), SondeoFallido);
    EXPECT_EQ(tabla.hashfull(), 0);

    tabla.guardar(ClaveA + (5ULL << 32), 1, -3, CotaSuperior, 0, 0, false);
    EXPECT_EQ(tabla.sondear(ClaveA + (5ULL << 32), 0), CotaSuperior);
    EXPECT_EQ(tabla.ocupacion[0], 1u);
    EXPECT_EQ(tabla.ocupacion[1], 1u);

    // The rewritten slot now belongs to this search and obeys the depth rule again.
    tabla.guardar(ClaveA, 1, 50, CotaExacta, MovA, 16, false);
    tabla.guardar(ClaveA + (6ULL << 32), 1, 60, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.sondear(ClaveA + (6ULL << 32), 0), SondeoFallido);
    EXPECT_EQ(tabla.sondear(ClaveA, 0), CotaExacta);
    EXPECT_EQ(tabla.ocupacion[0], 1u);
    EXPECT_EQ(tabla.ocupacion[1], 1u);
}

TEST_F(TablaHashTest, GeneracionesCiclanYVuelvenAVerseTrasSieteBusquedas) {
    tabla.vaciar();
    EXPECT_EQ(tabla.generacion, 1);
    const int32_t esperadas[8] = {2, 3, 4, 5, 6, 7, 1, 2};

    tabla.nuevaBusqueda();
    ASSERT_EQ(tabla.generacion, esperadas[0]);
    for (uint64_t k = 1; k <= 100; ++k)
        tabla.guardar(k * 0x100000001ULL, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.ocupacion[1], 100u);

    for (int busqueda = 1; busqueda < 8; ++busqueda) {
        tabla.nuevaBusqueda();
        ASSERT_EQ(tabla.generacion, esperadas[busqueda]);
        const int32_t esperado = busqueda == 7 ? CotaExacta : SondeoFallido;
        EXPECT_EQ(tabla.sondear(0x100000001ULL, 8), esperado) << "busqueda " << busqueda + 1;
        EXPECT_EQ(tabla.sondear(100 * 0x100000001ULL, 8), esperado);
    }
    // 100 of 65536 entries: 1.5 per mille, truncated.
    EXPECT_EQ(tabla.hashfull(), 1);
}

TEST_F(TablaHashTest, VaciarBorraEntradasYContadores) {
    tabla.nuevaBusqueda();
    tabla.nuevaBusqueda();
    tabla.guardar(ClaveA, 1, 1, CotaExacta, MovA, 8, false);
    tabla.vaciar();
    EXPECT_EQ(tabla.generacion, 1);
    for (uint64_t g : tabla.ocupacion) EXPECT_EQ(g, 0u);
    EXPECT_EQ(entradaDe(ClaveA).datos, 0u);
    for (int i = 0; i < 7; ++i) {
        tabla.nuevaBusqueda();
        EXPECT_EQ(tabla.sondear(ClaveA, 0), SondeoFallido);
    }
}

TEST_F(TablaHashTest, HashfullEsLaParteEscritaEnEstaBusquedaPorMil) {
    EXPECT_EQ(tabla.numEntradas, 65536u);
    // 6554 entries are 100.006 per mille; 6553 are 99.99.
    for (uint64_t k = 0; k < 6553; ++k) tabla.guardar(k, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 99);
    tabla.guardar(6553, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 100);
    tabla.nuevaBusqueda();
    EXPECT_EQ(tabla.hashfull(), 0);
    tabla.guardar(0, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.ocupacion[0], 6553u);
    EXPECT_EQ(tabla.hashfull(), 0);
    for (uint64_t k = 0; k < 65536; ++k) tabla.guardar(k, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.hashfull(), 1000);
    EXPECT_EQ(tabla.ocupacion[0], 0u);
}

TEST_F(TablaHashTest, IndiceEsLaPalabraBajaModuloEntradas) {
    EXPECT_EQ(tabla.numEntradas, 65536u);
    tabla.guardar(65537, 1, 0, CotaExacta, MovA, 8, false);
    EXPECT_EQ(tabla.entradas[1].claveBaja, 65537u);
    EXPECT_EQ(tabla.entradas[1].movimiento, MovA);
    // Key 1 shares the slot, so an equally deep store for it takes the slot over.
    tabla.guardar(1, 1, 0, CotaExacta, 0, 8, false);
    EXPECT_EQ(tabla.sondear(65537, 0), SondeoFallido);

    std::mt19937_64 azar(12345);
    for (uint32_t mb : {1u, 2u, 3u, 7u, 37u}) {
        tabla.redimensionar(mb);
        ASSERT_EQ(tabla.numEntradas, mb * 65536u);
        for (int i = 0; i < 20000; ++i) {
            const uint64_t k = azar();
            ASSERT_EQ(tabla.indice(k), static_cast<uint32_t>(k) % tabla.numEntradas) << k;
        }
        for (uint64_t k : {uint64_t{0}, uint64_t{0xFFFFFFFF}, uint64_t{0xFFFFFFFE},
                           uint64_t{0x80000000}, static_cast<uint64_t>(tabla.numEntradas) - 1,
                           static_cast<uint64_t>(tabla.numEntradas)})
            EXPECT_EQ(tabla.indice(k), static_cast<uint32_t>(k) % tabla.numEntradas) << k;
    }
}

TEST_F(TablaHashTest, ProfundidadSeGuardaModulo128) {
    tabla.guardar(ClaveA, 1, 10, CotaInferior, 0, 130, false);
    EXPECT_EQ(entradaDe(ClaveA).datos, palabraEsperada(10, CotaInferior, 2, false, 1));
    EXPECT_EQ(tabla.sondear(ClaveA, 2), CotaInferior);
    EXPECT_EQ(tabla.profundidadAcierto(), 2);
    EXPECT_EQ(tabla.sondear(ClaveA, 3), SondeoPocaProfundidad);
    EXPECT_EQ(tabla.sondear(ClaveA, 130), SondeoPocaProfundidad);
    // The stored 2 is compared with the full new depth, so a depth-3 result replaces it.
    tabla.guardar(ClaveA, 1, 11, CotaExacta, 0, 3, false);
    EXPECT_EQ(tabla.sondear(ClaveA, 3), CotaExacta);
}

TEST_F(TablaHashTest, EstadisticasCuentanSondeosAciertosYGuardados) {
    tabla.guardar(ClaveA, 1, 0, CotaExacta, 0, 40, false);
    tabla.guardar(ClaveA, 1, 0, CotaExacta, 0, 8, false); // dropped, still counted
    tabla.sondear(ClaveA, 8);
    tabla.sondear(ClaveA, 80);
    tabla.sondear(ClaveA + 1, 0);
    tabla.sondear(ClaveA ^ (1ULL << 63), 0);
    EXPECT_EQ(estadisticas.sondeos, 4u);
    EXPECT_EQ(estadisticas.aciertos, 2u);
    EXPECT_EQ(estadisticas.guardados, 2u);
}

TEST(TablaHashMuerte, SinEntradasAvisaYTerminaConCero) {
    TablaHash tabla(nullptr);
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            tabla.redimensionar(0);
        },
        ::testing::ExitedWithCode(0), "^Problema creando la tabla hash\n$");
    // 65536 MB wraps the 32-bit entry count to 0.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            tabla.redimensionar(65536);
        },
        ::testing::ExitedWithCode(0), "Problema creando la tabla hash");
}

} // namespace
