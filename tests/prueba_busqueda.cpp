#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>

#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/nodo.h"
#include "busqueda/puntuaciones.h"
#include "busqueda/tabla_hash.h"
#include "evaluacion/evaluacion.h"
#include "generacion/ataques.h"
#include "tablero/fen.h"
#include "uci/control_tiempo.h"

namespace {

constexpr int32_t Infinito = PuntuacionMate;

// The engine's own search on a position set by hand, with an empty table, clean counters and
// no periodic check within reach, so that every call below sees only its own tree.
class BusquedaDirecta : public ::testing::Test {
  protected:
    void SetUp() override {
        motor = &motorDePrueba();
        b = motor->busqueda;
        t = motor->tablero;
        motor->controlTiempo->reiniciar();
    }

    void preparar(const std::string& fen, const std::string& jugadas = "") {
        ASSERT_TRUE(establecerPosicion(*t, PosicionFEN(fen)));
        std::istringstream palabras(jugadas);
        for (std::string texto; palabras >> texto;) {
            const Movimiento m = textoAMovimiento(*t, texto);
            ASSERT_NE(m, MovimientoNulo) << texto;
            t->hacerMovimiento(m);
        }
        motor->tablaHash->vaciar();
        motor->tablaHash->nuevaBusqueda();
        reiniciarEstadisticas();
        b->detener = false;
        b->proximaComprobacion = std::numeric_limits<uint64_t>::max();
        b->iteracion = 5;
        std::memset(b->killer1, 0, sizeof(b->killer1));
        std::memset(b->killer2, 0, sizeof(b->killer2));
        std::memset(b->historia, 0, sizeof(b->historia));
        std::memset(b->marcaJaque, 0, sizeof(b->marcaJaque));
    }

    // The in-check mark that a parent would have left for a node at this ply.
    int32_t buscarEn(int32_t ply, int32_t profundidad, int32_t alfa, int32_t beta,
                     bool nulo = true) {
        b->marcaJaque[ply] = enJaque(*t);
        return b->buscar(profundidad, alfa, beta, ply, nulo);
    }

    // The search stops at its second node: the node itself runs, its first child does not.
    void detenerEnElSegundoNodo() {
        b->proximaComprobacion = 1;
        b->tiempoAsignado = 0;
    }

    // pensar to a depth, its output kept in `salida`.
    Movimiento pensar(int32_t profundidad) {
        motor->controlTiempo->depth = profundidad;
        b->setResumen(false);
        std::ostringstream texto;
        std::streambuf* anterior = std::cout.rdbuf(texto.rdbuf());
        const Movimiento m = b->pensar();
        std::cout.rdbuf(anterior);
        b->setResumen(true);
        salida = texto.str();
        return m;
    }

    Motor* motor = nullptr;
    Busqueda* b = nullptr;
    Tablero* t = nullptr;
    std::string salida;
};

// Scores of whole nodes: mate, stalemate, repetition in the path or in the game, the
// fifty-move rule (a mate is still a mate, a move reaching beta still cuts).
TEST_F(BusquedaDirecta, PuntuacionesDeNodo) {
    constexpr int32_t Gana = 1; // stands for any score above 500
    const char* const mate = "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - ";
    const char* const dama = "4k3/8/8/8/8/8/8/3QK3 w - - ";
    const std::string vuelta = "e1f1 e8f8 f1e1 f8e8";
    const struct {
        std::string fen, jugadas;
        int32_t ply, profundidad, alfa, beta;
        bool nulo;
        int32_t esperado;
    } casos[] = {
        {std::string(mate) + "1 3", "", 4, 8, -Infinito, Infinito, true, 4 - 32768},
        {std::string(mate) + "1 3", "", 7, 24, -100, 100, true, 7 - 32768},
        {"k7/8/1Q6/8/8/8/8/2K5 b - - 0 1", "", 4, 8, -Infinito, Infinito, true, 0},
        {"k7/8/1Q6/8/8/8/8/2K5 b - - 0 1", "", 3, 16, -500, -400, true, 0},
        {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", "", 2, 16, -Infinito, Infinito, true, 32765},
        {std::string(dama) + "0 1", vuelta, 3, 16, -Infinito, Infinito, true, 0},
        {std::string(dama) + "0 1", vuelta, 2, 16, -Infinito, Infinito, true, Gana},
        {std::string(dama) + "0 1", vuelta + " " + vuelta, 2, 16, -Infinito, Infinito, true, 0},
        {std::string(dama) + "100 80", "", 2, 8, -Infinito, Infinito, true, Gana},
        {std::string(dama) + "101 80", "", 2, 8, -Infinito, Infinito, true, 0},
        {std::string(mate) + "101 3", "", 4, 8, -Infinito, Infinito, true, 4 - 32768},
        {std::string(dama) + "101 80", "", 2, 8, 100, 200, false, 200},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fen + " " + c.jugadas);
        preparar(c.fen, c.jugadas);
        const int32_t s = buscarEn(c.ply, c.profundidad, c.alfa, c.beta, c.nulo);
        if (c.esperado == Gana) {
            EXPECT_GT(s, 500);
        } else {
            EXPECT_EQ(s, c.esperado);
        }
        const std::string pv = movimientoATexto(b->variante[2][2]);
        EXPECT_TRUE(c.esperado != 32765 || pv == "a1a8") << pv;
    }
}

// A repetition within the search path counts once, one at the root needs two earlier
// occurrences; only positions with the same side to move and since the last capture or pawn
// move count.
TEST_F(BusquedaDirecta, Repeticion) {
    const std::string fen = "4k3/p7/8/8/8/8/P7/3QK3 w - - 0 1";
    preparar(fen, "e1f1 e8f8 f1e1 f8e8");
    EXPECT_TRUE(b->esRepeticion(3));
    EXPECT_TRUE(b->esRepeticion(6));
    EXPECT_FALSE(b->esRepeticion(2));
    preparar(fen, "e1f1 e8f8 f1e1");
    EXPECT_FALSE(b->esRepeticion(5));
    preparar(fen);
    EXPECT_FALSE(b->esRepeticion(3));
    preparar(fen, "a2a3 e8f8 e1f1 f8e8 f1e1");
    ASSERT_EQ(t->movidasRegla50, 4);
    EXPECT_TRUE(b->esRepeticion(3));
    t->movidasRegla50 = 3;
    EXPECT_FALSE(b->esRepeticion(3));
}

// 9 units or less (a queen, a rook and a knight) try no null move at depth 56 and reduce 16
// at 48; two rooks reduce 24 at 56 and 16 at 48; never in check or without permission.
TEST_F(BusquedaDirecta, MovimientoNulo) {
    const struct {
        const char* fen;
        int32_t profundidad;
        bool nulo;
        uint64_t intentos, cortesMin, cortesMax;
    } casos[] = {
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", 56, true, 0, 0, 0},
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", 48, true, 1, 1, 0},
        {"4k3/8/8/8/8/8/8/1N1RK3 w - - 0 1", 56, true, 0, 0, 0},
        {"4k3/8/8/8/8/8/8/1N1RK3 w - - 0 1", 48, true, 1, 1, 0},
        {"4k3/8/8/8/8/8/8/R3K2R w - - 0 1", 56, true, 1, 0, 1},
        {"4k3/8/8/8/8/8/4r3/R3K2R w - - 0 1", 48, true, 0, 0, 0},
        {"4k3/8/8/8/8/8/8/R3K2R w - - 0 1", 48, false, 0, 0, 0},
        {"4k3/8/8/8/8/8/8/R3K2R w - - 0 1", 48, true, 1, 1, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::Message() << c.fen << " " << c.profundidad);
        preparar(c.fen);
        // Without a null move the search would go on: stop it at its second node.
        if (c.intentos == 0) detenerEnElSegundoNodo();
        const int32_t s = buscarEn(2, c.profundidad, -30000, -29999, c.nulo);
        EXPECT_EQ(s, c.intentos ? -29999 : s);
        EXPECT_EQ(estadisticas.intentosNulo, c.intentos);
        EXPECT_EQ(estadisticas.cortesNuloMin, c.cortesMin);
        EXPECT_EQ(estadisticas.cortesNuloMax, c.cortesMax);
    }
    // The stored cut answers the same node at once the next time.
    const uint64_t nodos = estadisticas.nodos, cortes = estadisticas.cortesHashBeta;
    EXPECT_EQ(buscarEn(2, 48, -30000, -29999), -29999);
    EXPECT_EQ(estadisticas.nodos, nodos + 1);
    EXPECT_EQ(estadisticas.cortesHashBeta, cortes + 1);
}

TEST_F(BusquedaDirecta, DetenidaDevuelveCero) {
    preparar("4k3/8/8/8/8/8/8/R3K2R w - - 0 1");
    const uint64_t clave = t->hashKey;
    detenerEnElSegundoNodo();
    EXPECT_EQ(buscarEn(2, 48, 100, 200, false), 0);
    EXPECT_TRUE(b->detener);
    EXPECT_EQ(t->hashKey, clave);
    EXPECT_EQ(t->numHistorial, 0);
    EXPECT_EQ(estadisticas.guardados, 0u);
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
        b->marcaJaque[c[4]] = c[2];
        b->listas[c[4]].cantidad = c[3];
        EXPECT_EQ(b->extension(c[4], c[1]), c[5]);
        EXPECT_EQ(b->marcaJaque[c[4] + 1], c[0] != 0);
        EXPECT_EQ(estadisticas.extensionesJaque, static_cast<uint64_t>(c[0]));
        EXPECT_EQ(estadisticas.extensionesAmenaza, static_cast<uint64_t>(c[1]));
        EXPECT_EQ(estadisticas.extensionesRespuestaUnica, c[2] && c[3] == 1 ? 1u : 0u);
    }
}

// Quiescence cases around the static evaluation e: a cut at beta without generating, a
// side in check without captures, only losing captures (pruned and counted), an illegal
// capture of a pinned piece, a quiet position below alpha, and the last ply.
TEST_F(BusquedaDirecta, QsearchDevuelveLaEvaluacion) {
    constexpr int32_t Sin = 99999; // no bound
    const struct {
        const char* fen;
        int32_t ply, alfa, beta, esperado; // relative to e
        int podados;
    } casos[] = {
        {"4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1", 2, -50, -10, -10, 0},
        {"4r1k1/8/8/8/8/8/8/4K3 w - - 0 1", 2, -Sin, Sin, 0, 0},
        {"4r1k1/8/8/8/8/8/8/4K3 w - - 0 1", 2, 10, 20, 0, 0},
        {"4k3/8/2p5/3p1p2/6p1/8/8/3QK3 w - - 0 1", 2, -Sin, Sin, 0, 2},
        {"4k3/8/8/8/4r3/6p1/4N3/4K3 w - - 0 1", 2, -Sin, Sin, 0, 0},
        {"4k3/4p3/8/8/8/8/3P4/4K3 w - - 0 1", 2, 15, 45, 0, 0},
        {"4k3/4p3/8/8/8/8/3P4/4K3 w - - 0 1", 2, -15, 45, 0, 0},
        {"4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1", MaxPly, -Sin, Sin, 0, 0},
        {"4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1", MaxPly, 5, Sin, 5, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(::testing::Message() << c.fen << " " << c.alfa << " " << c.beta);
        preparar(c.fen);
        const int32_t e = evaluar(*t);
        const int32_t alfa = c.alfa == -Sin ? -Infinito : e + c.alfa;
        const int32_t beta = c.beta == Sin ? Infinito : e + c.beta;
        EXPECT_EQ(b->qsearch(alfa, beta, c.ply), e + c.esperado);
        EXPECT_EQ(estadisticas.podadosSEE, static_cast<uint64_t>(c.podados));
        EXPECT_LE(estadisticas.nodosQsearch, 1u);
        EXPECT_EQ(t->numHistorial, 0);
    }
    preparar(casos[0].fen);
    b->qsearch(-Infinito, -Infinito + 1, 2);
    EXPECT_EQ(estadisticas.generacionesCapturas, 0u);
}

TEST_F(BusquedaDirecta, QsearchGuardaLaLineaDeCapturas) {
    preparar("4k3/1b6/8/3r4/4P3/8/8/4K3 w - - 0 1");
    const int32_t s = b->qsearch(-Infinito, Infinito, 2);
    ASSERT_EQ(b->longitudVariante[2], 4);
    EXPECT_EQ(movimientoATexto(b->variante[2][2]), "e4d5");
    EXPECT_EQ(movimientoATexto(b->variante[2][3]), "b7d5");
    // White keeps the exchange rook for pawn against the bishop that recaptures.
    EXPECT_GT(s, evaluar(*t));
    EXPECT_EQ(t->numHistorial, 0);
}

// pensar with a depth: the counters and the best move come from this search alone.
TEST_F(BusquedaDirecta, PensarMateEnUnoRaizSinMovimientosYContadores) {
    preparar("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
    EXPECT_EQ(movimientoATexto(pensar(3)), "a1a8");
    EXPECT_NE(salida.find("score mate 1 pv a1a8 \n"), std::string::npos) << salida;
    // No legal move, or a negative depth: no search, no output.
    preparar("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(pensar(4), MovimientoNulo);
    EXPECT_EQ(salida + std::to_string(estadisticas.nodos), "0");
    preparar("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    EXPECT_EQ(pensar(-1), MovimientoNulo);
    EXPECT_EQ(salida + std::to_string(estadisticas.nodos), "0");
    // The counters of each search start from 0.
    pensar(4);
    const uint64_t primera = estadisticas.nodos;
    ASSERT_GT(primera, 0u);
    motor->tablaHash->vaciar();
    pensar(4);
    EXPECT_EQ(estadisticas.nodos, primera);
}

} // namespace
