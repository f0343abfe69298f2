#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <unistd.h>

#include "apoyo/consistencia.h"
#include "apoyo/consola_en_proceso.h"
#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/nodo.h"
#include "busqueda/ordenacion.h"
#include "busqueda/tabla_hash.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "uci/control_tiempo.h"

namespace {

// The engine's own search, on a position set up with an empty table and clean counters.
class BusquedaDirecta : public ::testing::Test {
  protected:
    void preparar(const std::string& fen, const std::string& jugadas = "") {
        establecerPosicion(t, PosicionFEN(fen));
        std::istringstream palabras(jugadas);
        for (std::string texto; palabras >> texto;) t.hacerMovimiento(textoAMovimiento(t, texto));
        motor.tablaHash->vaciar();
        reiniciarEstadisticas();
    }

    Motor& motor = motorSilencioso();
    Busqueda& b = *motor.busqueda;
    Tablero& t = *motor.tablero;
};

// The node counts and best moves of fixed-depth searches from a cleared table: they pin the
// whole search, its move ordering, table, pruning, extensions and evaluation included. The
// positions reach mates, promotions, the fifty-move rule, repetitions of the game's moves, and
// null moves of both reductions and where little material forbids them.
TEST_F(BusquedaDirecta, FirmaDeBusquedasAProfundidadFija) {
    const char* const inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const struct {
        const char *fen, *jugadas;
        int32_t profundidad;
    } casos[] = {
        {inicial, "", 6},
        {inicial, "g1f3 g8f6 f3g1 f6g8", 5},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", "", 4},
        {"8/8/8/4k3/8/8/8/3QK3 w - - 0 1", "", 8},
        {"r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", "", 8},
        {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 b - - 0 1", "", 7},
        {"8/2P3k1/8/3pP3/8/8/1p3K2/8 w - d6 0 1", "", 6},
        {"4k3/8/8/8/8/8/8/3QK3 w - - 95 80", "", 6},
        {"3rr1k1/pp3pp1/1qn2np1/8/3p4/PP1R1P2/2P1NQPP/R1B3K1 b - - 0 1", "", 5},
    };
    std::string mejores;
    uint64_t nodos = 0;
    for (const auto& caso : casos) {
        preparar(caso.fen, caso.jugadas);
        motor.controlTiempo->depth = caso.profundidad;
        std::ostringstream salida;
        std::streambuf* anterior = std::cout.rdbuf(salida.rdbuf());
        mejores += movimientoATexto(b.pensar()) + " ";
        std::cout.rdbuf(anterior);
        nodos += estadisticas.nodos;
    }
    EXPECT_EQ(mejores, "g1f3 b1c3 e2a6 d1d7 h1h8 f7f5 c7c8q e1f2 b6c5 ");
    EXPECT_EQ(nodos, 829287u);
}

// The hand-out of the main search with the score shown for each move: hash move, good captures by
// exchange value, killers, then the rest by history, the losing capture a1a6 among them.
TEST_F(BusquedaDirecta, OrdenDeEntrega) {
    preparar("4k3/1p6/p2p4/2n1r3/3P4/8/7P/R5K1 w - - 0 1");
    const int32_t ply = 5;
    b.movimientoHash[ply] = textoAMovimiento(t, "h2h3");
    b.killer1[ply] = textoAMovimiento(t, "g1f1");
    b.killer2[ply] = MovimientoNulo;
    std::memset(b.historia, 0, sizeof(b.historia));
    b.historia[ReyBlanco][14] = 100;
    b.historia[TorreBlanca][40] = 50;
    ListaMovimientos& lista = b.listas[ply];
    iniciarLista(lista, &t, &b, ply, ModoBusqueda);
    std::string salida;
    for (int i = 0; i < 6; ++i) {
        const Movimiento m = siguienteMovimiento(lista);
        salida += movimientoATexto(m) + " " + std::to_string(lista.puntuacionActual) + " ";
    }
    EXPECT_EQ(salida, "h2h3 0 d4e5 400 d4c5 200 g1f1 0 g1g2 100 a1a6 50 ");
}

// A null move keeps the en-passant part of the key, so a position without an en-passant square
// can share its key with one that has it: the table's en-passant capture is still handed out
// first, and make and unmake handle it.
TEST_F(BusquedaDirecta, HashAlPasoTrasMovimientoNulo) {
    preparar("3k4/3p4/8/4P3/8/8/8/4K3 w - - 0 1");
    t.hacerMovimientoNulo();
    t.hacerMovimiento(textoAMovimiento(t, "d7d5"));
    const uint64_t clave = t.hashKey;
    const Movimiento alPaso = textoAMovimiento(t, "e5d6");
    preparar("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5");
    t.hacerMovimientoNulo();
    t.hacerMovimiento(textoAMovimiento(t, "e8d8"));
    ASSERT_EQ(t.hashKey, clave);
    const Tablero antes = t;
    b.movimientoHash[5] = alPaso;
    iniciarLista(b.listas[5], &t, &b, 5, ModoBusqueda);
    EXPECT_EQ(siguienteMovimiento(b.listas[5]), alPaso);
    t.hacerMovimiento(alPaso);
    EXPECT_EQ(t.piezas[35], Vacio);
    EXPECT_EQ(inconsistencia(t, false), "");
    t.deshacerMovimiento();
    EXPECT_EQ(diferencia(t, antes), "");
}

// A repetition within the search path counts once, one at the root needs two earlier
// occurrences; only positions with the same side to move and since the last capture or pawn
// move count.
TEST_F(BusquedaDirecta, Repeticion) {
    const std::string fen = "4k3/p7/8/8/8/8/P7/3QK3 w - - 0 1";
    preparar(fen, "e1f1 e8f8 f1e1 f8e8");
    EXPECT_TRUE(b.esRepeticion(3));
    EXPECT_TRUE(b.esRepeticion(6));
    EXPECT_FALSE(b.esRepeticion(2));
    preparar(fen, "e1f1 e8f8 f1e1");
    EXPECT_FALSE(b.esRepeticion(5));
    preparar(fen, "a2a3 e8f8 e1f1 f8e8 f1e1");
    EXPECT_TRUE(b.esRepeticion(3));
    t.movidasRegla50 = 3;
    EXPECT_FALSE(b.esRepeticion(3));
}

// Check 8, threat 6, single reply (in check with one move) 6, together at most 8; full up to
// twice the iteration (5), fading to nothing at four times. A reason is counted even when
// nothing is left of it.
TEST_F(BusquedaDirecta, Extensiones) {
    // check given, threat, in check at the node, moves there, ply, extension
    const int32_t casos[][6] = {{1, 0, 0, 1, 2, 8},  {1, 0, 0, 1, 10, 8}, {1, 0, 0, 1, 11, 7},
                                {1, 0, 0, 1, 15, 4}, {1, 0, 0, 1, 19, 0}, {1, 0, 0, 1, 60, 0},
                                {0, 1, 1, 0, 3, 6},  {0, 1, 1, 0, 15, 3}, {0, 0, 1, 1, 6, 6},
                                {0, 0, 1, 2, 6, 0},  {0, 1, 1, 1, 6, 8},  {1, 1, 0, 1, 4, 8},
                                {1, 1, 0, 1, 15, 4}};
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::Message() << c[0] << c[1] << c[2] << c[3] << " ply " << c[4]);
        // The move already made gives check or not.
        preparar(c[0] ? "4k3/8/8/8/8/8/4R3/4K3 b - - 0 1" : "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
        b.iteracion = 5;
        b.marcaJaque[c[4]] = c[2];
        b.listas[c[4]].cantidad = c[3];
        EXPECT_EQ(b.extension(c[4], c[1]), c[5]);
        EXPECT_EQ(b.marcaJaque[c[4] + 1], c[0] != 0);
        const Estadisticas& e = estadisticas;
        EXPECT_EQ(e.extensionesJaque + 2 * e.extensionesAmenaza + 4 * e.extensionesRespuestaUnica,
                  c[0] + 2u * c[1] + 4u * (c[2] && c[3] == 1));
    }
}

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
