#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "apoyo/consola_en_proceso.h"
#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
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
        b.setResumen(false);
        std::ostringstream salida;
        std::streambuf* anterior = std::cout.rdbuf(salida.rdbuf());
        mejores += movimientoATexto(b.pensar()) + " ";
        std::cout.rdbuf(anterior);
        b.setResumen(true);
        nodos += estadisticas.nodos;
    }
    EXPECT_EQ(mejores, "g1f3 b1c3 e2a6 d1d7 h1h8 f7f5 c7c8q e1f2 b6c5 ");
    EXPECT_EQ(nodos, 824799u);
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

} // namespace
