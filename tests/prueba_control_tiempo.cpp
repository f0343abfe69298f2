#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "tablero/fen.h"
#include "uci/control_tiempo.h"

namespace {

// The real "go" handler run on a checkmated position: the search visits no node, so each call
// only walks the words, prints "bestmove xxxx" and leaves the limits in the engine's record.
class PalabrasGo : public ::testing::Test {
  protected:
    void SetUp() override {
        motor = &motorDePrueba();
        consola.motor = motor;
        motor->busqueda->setResumen(false);
        establecerPosicion(
            *motor->tablero,
            PosicionFEN("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"));
    }
    void TearDown() override { motor->busqueda->setResumen(true); }

    std::string go(const std::string& argumentos) {
        std::ostringstream salida;
        std::streambuf* anterior = std::cout.rdbuf(salida.rdbuf());
        consola.comandoGo(argumentos);
        std::cout.rdbuf(anterior);
        return salida.str();
    }

    Motor* motor = nullptr;
    ConsolaUCI consola;
};

// The budget of each side from the words of "go"; every "go" starts from zero limits.
TEST_F(PalabrasGo, Presupuestos) {
    const struct {
        const char* palabras;
        uint32_t blancas, negras;
    } casos[] = {
        {"wtime 60000", 1000, 0},
        {"wtime 119", 1, 0},
        {"wtime 60000 winc 1000", 2000, 0},
        {"wtime 0 winc 1000", 1000, 0},
        // With a moves-to-go count the increment plays no part.
        {"wtime 60000 movestogo 19 winc 5000", 3000, 0},
        {"wtime 60000 movestogo 1", 30000, 0},
        {"wtime 60000 btime 60000 winc 1000 binc 1000 movestogo 19 movetime 5000", 5000, 5000},
        {"wtime 600000 winc 9000 btime 6000 binc 200", 19000, 300},
        {"btime 6000 binc 200 movestogo 5", 0, 1000},
        {"wtime 6000 movestogo 4294967295", 100, 0},
        {"movestogo -1 wtime 1000", 16, 0},
        {"ponder wtime 1000 btime 1000", 16, 16},
        // Negative clocks give no time; a value that is a key word is taken as a value.
        {"wtime -100 btime -100 winc -5 binc -5", 0, 0},
        {"movetime -1 wtime 6000", 100, 0},
        {"wtime 500 depth 3 infinite", 8, 0},
        {"btime 500 wtime", 0, 8},
        {"wtime", 0, 0},
        {"depth wtime 5", 0, 0},
        {"nodes wtime mate movetime 80", 0, 0},
        {"searchmoves wtime 100", 0, 0},
        {"wtime 300 searchmoves", 5, 0},
        {"wtime 100 wtime 200", 3, 0},
        {"  wtime   700  ", 11, 0},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(go(caso.palabras), "bestmove xxxx\n");
        EXPECT_EQ(motor->controlTiempo->tiempoAsignado(Blanco), caso.blancas) << caso.palabras;
        EXPECT_EQ(motor->controlTiempo->tiempoAsignado(Negro), caso.negras) << caso.palabras;
    }
}

TEST_F(PalabrasGo, CadaClaveGuardaSuValor) {
    const ControlTiempo& c = *motor->controlTiempo;
    go("wtime 100 btime 200 winc 3 binc 4 movestogo 5 movetime 6 depth 7");
    const int64_t valores[] = {c.wtime, c.btime, c.winc, c.binc, c.movestogo, c.movetime, c.depth};
    EXPECT_EQ(std::vector<int64_t>(valores, valores + 7),
              (std::vector<int64_t>{100, 200, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(c.infinite);
    // Without words nothing runs and nothing is reset.
    go("wtime 500 infinite");
    EXPECT_EQ(go(""), "");
    EXPECT_EQ(c.wtime, 500u);
    EXPECT_TRUE(c.infinite);
    const std::pair<const char*, int32_t> profundidades[] = {
        {"depth 3 btime 50", 3}, {"depth 2 depth 9", 9},   {"nodes depth 4", 0},
        {"depth -1", -1},        {"depth 99999999999", 0}, {"btime 50", 0}};
    for (const auto& caso : profundidades) {
        go(caso.first);
        EXPECT_EQ(c.depth, caso.second) << caso.first;
    }
    // searchmoves takes one word only; a key word's value is never read as "infinite".
    for (const char* palabras : {"searchmoves e2e4 d2d4 infinite", "movetime infinite"}) {
        go(palabras);
        EXPECT_EQ(c.infinite, palabras[0] == 's') << palabras;
    }
}

} // namespace
