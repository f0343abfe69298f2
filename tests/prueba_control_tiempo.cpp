#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "tablero/tipos.h"
#include "uci/control_tiempo.h"

namespace {

ControlTiempo limites() {
    ControlTiempo control(nullptr);
    control.reiniciar();
    return control;
}

TEST(Presupuesto, RelojSolo) {
    ControlTiempo c = limites();
    c.setWtime(60000);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 1000u);
    c.setWtime(59);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 0u);
    c.setWtime(119);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 1u);
}

TEST(Presupuesto, IncrementoSeSumaEntero) {
    ControlTiempo c = limites();
    c.setWtime(60000);
    c.setWinc(1000);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 2000u);
    c.setWtime(0);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 1000u);
}

TEST(Presupuesto, MovidasRestantesDividenEntreMasUno) {
    ControlTiempo c = limites();
    c.setWtime(60000);
    c.setMovestogo(19);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 3000u);
    // The increment plays no part once a moves-to-go count is given.
    c.setWinc(5000);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 3000u);
    c.setMovestogo(1);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 30000u);
}

TEST(Presupuesto, TiempoFijoGanaATodo) {
    ControlTiempo c = limites();
    c.setWtime(60000);
    c.setBtime(60000);
    c.setWinc(1000);
    c.setBinc(1000);
    c.setMovestogo(19);
    c.setMovetime(5000);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 5000u);
    EXPECT_EQ(c.tiempoAsignado(Negro), 5000u);
}

TEST(Presupuesto, NegrasUsanSuRelojYSuIncremento) {
    ControlTiempo c = limites();
    c.setWtime(600000);
    c.setWinc(9000);
    c.setBtime(6000);
    c.setBinc(200);
    EXPECT_EQ(c.tiempoAsignado(Negro), 300u);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 19000u);
    c.setMovestogo(5);
    EXPECT_EQ(c.tiempoAsignado(Negro), 1000u);
}

TEST(Presupuesto, SinRelojNiTiempoFijoEsCero) {
    ControlTiempo c = limites();
    EXPECT_EQ(c.tiempoAsignado(Blanco), 0u);
    EXPECT_EQ(c.tiempoAsignado(Negro), 0u);
    c.setDepth(6);
    c.setInfinite(true);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 0u);
}

TEST(Presupuesto, MovidasRestantesQueDesbordanNoDividenPorCero) {
    ControlTiempo c = limites();
    c.setWtime(6000);
    c.setMovestogo(0xFFFFFFFFu);
    EXPECT_EQ(c.tiempoAsignado(Blanco), 100u);
}

TEST(Presupuesto, ReiniciarBorraTodo) {
    ControlTiempo c = limites();
    c.setWtime(1);
    c.setBtime(2);
    c.setWinc(3);
    c.setBinc(4);
    c.setMovetime(5);
    c.setMovestogo(6);
    c.setDepth(7);
    c.setInfinite(true);
    c.reiniciar();
    EXPECT_EQ(c.wtime, 0u);
    EXPECT_EQ(c.btime, 0u);
    EXPECT_EQ(c.winc, 0u);
    EXPECT_EQ(c.binc, 0u);
    EXPECT_EQ(c.movetime, 0u);
    EXPECT_EQ(c.movestogo, 0u);
    EXPECT_EQ(c.depth, 0);
    EXPECT_FALSE(c.infinite);
}

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

    const ControlTiempo& control() const { return *motor->controlTiempo; }

    Motor* motor = nullptr;
    ConsolaUCI consola;
};

TEST_F(PalabrasGo, CadaClaveGuardaSuValor) {
    EXPECT_EQ(go("wtime 100 btime 200 winc 3 binc 4 movestogo 5 movetime 6 depth 7"),
              "bestmove xxxx\n");
    EXPECT_EQ(control().wtime, 100u);
    EXPECT_EQ(control().btime, 200u);
    EXPECT_EQ(control().winc, 3u);
    EXPECT_EQ(control().binc, 4u);
    EXPECT_EQ(control().movestogo, 5u);
    EXPECT_EQ(control().movetime, 6u);
    EXPECT_EQ(control().depth, 7);
    EXPECT_FALSE(control().infinite);
}

TEST_F(PalabrasGo, SinPalabrasNoBuscaNiReinicia) {
    go("wtime 500 infinite");
    EXPECT_EQ(go(""), "");
    EXPECT_EQ(control().wtime, 500u);
    EXPECT_TRUE(control().infinite);
}

TEST_F(PalabrasGo, CadaGoEmpiezaDeCero) {
    go("wtime 500 depth 3 infinite");
    go("btime 50");
    EXPECT_EQ(control().wtime, 0u);
    EXPECT_EQ(control().depth, 0);
    EXPECT_FALSE(control().infinite);
    EXPECT_EQ(control().btime, 50u);
}

TEST_F(PalabrasGo, ElValorSeConsumeAunqueSeaUnaClave) {
    go("depth wtime 5");
    EXPECT_EQ(control().depth, 0);
    EXPECT_EQ(control().wtime, 0u);
    go("movetime infinite");
    EXPECT_FALSE(control().infinite);
    EXPECT_EQ(control().movetime, 0u);
}

TEST_F(PalabrasGo, ClaveAlFinalSeIgnora) {
    go("btime 500 wtime");
    EXPECT_EQ(control().btime, 500u);
    EXPECT_EQ(control().wtime, 0u);
    EXPECT_EQ(go("wtime"), "bestmove xxxx\n");
    EXPECT_EQ(control().tiempoAsignado(Blanco), 0u);
}

TEST_F(PalabrasGo, ClaveRepetidaSeQuedaConLaUltima) {
    go("wtime 100 depth 2 wtime 200 depth 9");
    EXPECT_EQ(control().wtime, 200u);
    EXPECT_EQ(control().depth, 9);
}

TEST_F(PalabrasGo, SearchmovesSaltaUnaPalabra) {
    go("searchmoves wtime 100");
    EXPECT_EQ(control().wtime, 0u);
    go("searchmoves e2e4 d2d4 infinite");
    EXPECT_TRUE(control().infinite);
    go("wtime 300 searchmoves");
    EXPECT_EQ(control().wtime, 300u);
}

TEST_F(PalabrasGo, NodosYMateNoGuardanNadaPeroConsumenSuValor) {
    go("nodes 5000 mate 3");
    EXPECT_EQ(control().tiempoAsignado(Blanco), 0u);
    go("nodes depth 4");
    EXPECT_EQ(control().depth, 0);
    go("mate movetime 80");
    EXPECT_EQ(control().movetime, 0u);
}

TEST_F(PalabrasGo, PonderNoCambiaNadaMas) {
    go("ponder wtime 1000 btime 1000");
    EXPECT_EQ(control().tiempoAsignado(Blanco), 16u);
    EXPECT_FALSE(control().infinite);
}

TEST_F(PalabrasGo, RelojNegativoNoDaTiempo) {
    go("wtime -100 btime -100 winc -5 binc -5");
    EXPECT_EQ(control().wtime, 0u);
    EXPECT_EQ(control().btime, 0u);
    EXPECT_EQ(control().winc, 0u);
    EXPECT_EQ(control().binc, 0u);
    EXPECT_EQ(control().tiempoAsignado(Blanco), 0u);
    EXPECT_EQ(control().tiempoAsignado(Negro), 0u);
    go("movetime -1 wtime 6000");
    EXPECT_EQ(control().tiempoAsignado(Blanco), 100u);
}

TEST_F(PalabrasGo, MovidasRestantesNegativasNoDividenPorCero) {
    go("movestogo -1 wtime 1000");
    EXPECT_EQ(control().tiempoAsignado(Blanco), 16u);
}

TEST_F(PalabrasGo, ValoresQueNoSonNumeros) {
    go("depth abc wtime 12x");
    EXPECT_EQ(control().depth, 0);
    EXPECT_EQ(control().wtime, 12u);
    go("depth -1");
    EXPECT_EQ(control().depth, -1);
    go("depth 99999999999");
    EXPECT_EQ(control().depth, 0);
}

TEST_F(PalabrasGo, VariosBlancosEntrePalabras) {
    go("  wtime   700  ");
    EXPECT_EQ(control().wtime, 700u);
}

} // namespace
