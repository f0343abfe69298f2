#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/puntuaciones.h"
#include "busqueda/tabla_hash.h"
#include "consola/motor.h"
#include "evaluacion/evaluacion.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/fen.h"
#include "tablero/movimiento.h"
#include "tablero/tablero.h"
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

    void preparar(const std::string& fen, const std::vector<std::string>& jugadas = {}) {
        ASSERT_TRUE(establecerPosicion(*t, PosicionFEN(fen)));
        for (const std::string& texto : jugadas) {
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

    Motor* motor = nullptr;
    Busqueda* b = nullptr;
    Tablero* t = nullptr;
};

TEST_F(BusquedaDirecta, MateYAhogado) {
    preparar("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(buscarEn(4, 8, -Infinito, Infinito), 4 - 32768);
    preparar("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(buscarEn(7, 24, -100, 100), 7 - 32768);

    preparar("k7/8/1Q6/8/8/8/8/2K5 b - - 0 1");
    EXPECT_EQ(buscarEn(4, 8, -Infinito, Infinito), 0);
    preparar("k7/8/1Q6/8/8/8/8/2K5 b - - 0 1");
    EXPECT_EQ(buscarEn(3, 16, -500, -400), 0);
}

TEST_F(BusquedaDirecta, MateEnUnoDesdeElNodo) {
    preparar("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
    EXPECT_EQ(buscarEn(2, 16, -Infinito, Infinito), 32768 - 3);
    EXPECT_EQ(movimientoATexto(b->variante[2][2]), "a1a8");
}

TEST_F(BusquedaDirecta, RepeticionEnElCaminoOLaPartida) {
    const std::string fen = "4k3/8/8/8/8/8/8/3QK3 w - - 0 1";
    const std::vector<std::string> vuelta = {"e1f1", "e8f8", "f1e1", "f8e8"};
    std::vector<std::string> dosVueltas = vuelta;
    dosVueltas.insert(dosVueltas.end(), vuelta.begin(), vuelta.end());

    preparar(fen, vuelta);
    EXPECT_TRUE(b->esRepeticion(3));
    EXPECT_TRUE(b->esRepeticion(6));
    EXPECT_FALSE(b->esRepeticion(2));
    EXPECT_EQ(buscarEn(3, 16, -Infinito, Infinito), 0);

    preparar(fen, vuelta);
    EXPECT_GT(buscarEn(2, 16, -Infinito, Infinito), 500);

    preparar(fen, dosVueltas);
    EXPECT_TRUE(b->esRepeticion(2));
    EXPECT_EQ(buscarEn(2, 16, -Infinito, Infinito), 0);

    // The other side to move in the same squares is a different position.
    preparar(fen, {"e1f1", "e8f8", "f1e1"});
    EXPECT_FALSE(b->esRepeticion(5));
    preparar(fen);
    EXPECT_FALSE(b->esRepeticion(3));
}

// Only positions since the last capture or pawn move count; the counter sets how far back.
TEST_F(BusquedaDirecta, RepeticionNoMiraMasAllaDelContador) {
    preparar("4k3/p7/8/8/8/8/P7/3QK3 w - - 0 1", {"a2a3", "e8f8", "e1f1", "f8e8", "f1e1"});
    ASSERT_EQ(t->movidasRegla50, 4);
    EXPECT_TRUE(b->esRepeticion(3));
    t->movidasRegla50 = 3;
    EXPECT_FALSE(b->esRepeticion(3));
    t->movidasRegla50 = 4;
}

TEST_F(BusquedaDirecta, ReglaDeLasCincuentaJugadas) {
    preparar("4k3/8/8/8/8/8/8/3QK3 w - - 100 80");
    EXPECT_GT(buscarEn(2, 8, -Infinito, Infinito), 500);
    preparar("4k3/8/8/8/8/8/8/3QK3 w - - 101 80");
    EXPECT_EQ(buscarEn(2, 8, -Infinito, Infinito), 0);
    // A mate is still a mate.
    preparar("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 101 3");
    EXPECT_EQ(buscarEn(4, 8, -Infinito, Infinito), 4 - 32768);
    // A move reaching beta still cuts.
    preparar("4k3/8/8/8/8/8/8/3QK3 w - - 101 80");
    EXPECT_EQ(buscarEn(2, 8, 100, 200, false), 200);
}

// A queen alone, and a rook with a knight, are 9 units: no null move at depth 56.
TEST_F(BusquedaDirecta, SinMovimientoNuloConPocoMaterialYMuchaProfundidad) {
    for (const char* fen : {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", "4k3/8/8/8/8/8/8/1N1RK3 w - - 0 1"}) {
        preparar(fen);
        detenerEnElSegundoNodo();
        buscarEn(2, 56, -30000, -29999);
        EXPECT_EQ(estadisticas.intentosNulo, 0u) << fen;

        preparar(fen);
        EXPECT_EQ(buscarEn(2, 48, -30000, -29999), -29999) << fen;
        EXPECT_EQ(estadisticas.intentosNulo, 1u) << fen;
        EXPECT_EQ(estadisticas.cortesNuloMin, 1u) << fen;
        EXPECT_EQ(estadisticas.cortesNuloMax, 0u) << fen;
    }
}

TEST_F(BusquedaDirecta, DosTorresReducenTresPliesSoloMasAllaDe48) {
    const std::string fen = "4k3/8/8/8/8/8/8/R3K2R w - - 0 1";
    preparar(fen);
    EXPECT_EQ(buscarEn(2, 56, -30000, -29999), -29999);
    EXPECT_EQ(estadisticas.intentosNulo, 1u);
    EXPECT_EQ(estadisticas.cortesNuloMax, 1u);
    EXPECT_EQ(estadisticas.cortesNuloMin, 0u);

    preparar(fen);
    EXPECT_EQ(buscarEn(2, 48, -30000, -29999), -29999);
    EXPECT_EQ(estadisticas.intentosNulo, 1u);
    EXPECT_EQ(estadisticas.cortesNuloMax, 0u);
    EXPECT_EQ(estadisticas.cortesNuloMin, 1u);

    // The stored cut answers the same node at once the next time.
    const uint64_t nodos = estadisticas.nodos;
    const uint64_t cortes = estadisticas.cortesHashBeta;
    EXPECT_EQ(buscarEn(2, 48, -30000, -29999), -29999);
    EXPECT_EQ(estadisticas.nodos, nodos + 1);
    EXPECT_EQ(estadisticas.cortesHashBeta, cortes + 1);
}

TEST_F(BusquedaDirecta, SinMovimientoNuloEnJaqueOSinPermiso) {
    preparar("4k3/8/8/8/8/8/4r3/R3K2R w - - 0 1");
    detenerEnElSegundoNodo();
    buscarEn(2, 48, -30000, -29999);
    EXPECT_EQ(estadisticas.intentosNulo, 0u);

    preparar("4k3/8/8/8/8/8/8/R3K2R w - - 0 1");
    detenerEnElSegundoNodo();
    buscarEn(2, 48, -30000, -29999, false);
    EXPECT_EQ(estadisticas.intentosNulo, 0u);
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

// A side in check to move: every call of extension sees a checking move already made.
TEST_F(BusquedaDirecta, ExtensionSeDesvaneceConLaDistancia) {
    preparar("4k3/8/8/8/8/8/4R3/4K3 b - - 0 1");
    b->iteracion = 5;
    const std::vector<std::pair<int32_t, int32_t>> casos = {{2, 8},  {10, 8}, {11, 7}, {15, 4},
                                                            {19, 0}, {20, 0}, {21, 0}, {60, 0}};
    for (const auto& caso : casos) {
        b->marcaJaque[caso.first] = false;
        b->marcaJaque[caso.first + 1] = false;
        EXPECT_EQ(b->extension(caso.first, false), caso.second) << "ply " << caso.first;
        EXPECT_TRUE(b->marcaJaque[caso.first + 1]);
    }
    // Reasons are counted even when nothing is left of them.
    EXPECT_EQ(estadisticas.extensionesJaque, casos.size());
}

TEST_F(BusquedaDirecta, ExtensionAmenazaYRespuestaUnicaConTope) {
    preparar("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    b->iteracion = 5;
    b->marcaJaque[3] = true;
    b->listas[3].cantidad = 0;
    EXPECT_EQ(b->extension(3, true), 6);
    EXPECT_FALSE(b->marcaJaque[4]);
    EXPECT_EQ(b->extension(15, true), 3);
    EXPECT_EQ(estadisticas.extensionesAmenaza, 2u);

    b->marcaJaque[6] = true;
    b->listas[6].cantidad = 1;
    EXPECT_EQ(b->extension(6, false), 6);
    b->listas[6].cantidad = 2;
    EXPECT_EQ(b->extension(6, false), 0);
    b->listas[6].cantidad = 1;
    EXPECT_EQ(b->extension(6, true), 8);
    EXPECT_EQ(estadisticas.extensionesRespuestaUnica, 2u);

    preparar("4k3/8/8/8/8/8/4R3/4K3 b - - 0 1");
    b->iteracion = 5;
    EXPECT_EQ(b->extension(4, true), 8);
    EXPECT_EQ(b->extension(15, true), 4);
    EXPECT_EQ(estadisticas.extensionesJaque, 2u);
    EXPECT_EQ(estadisticas.extensionesAmenaza, 2u);
}

TEST_F(BusquedaDirecta, QsearchCortaConLaEvaluacion) {
    preparar("4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1");
    ASSERT_GE(evaluar(*t), 100);
    EXPECT_EQ(b->qsearch(-100, 100, 2), 100);
    EXPECT_EQ(estadisticas.nodosQsearch, 1u);
    EXPECT_EQ(estadisticas.generacionesCapturas, 0u);
}

TEST_F(BusquedaDirecta, QsearchEnJaqueSinCapturasDevuelveLaEvaluacion) {
    preparar("4r1k1/8/8/8/8/8/8/4K3 w - - 0 1");
    const int32_t estatica = evaluar(*t);
    EXPECT_EQ(b->qsearch(-Infinito, Infinito, 2), estatica);
    EXPECT_EQ(b->qsearch(estatica + 10, estatica + 20, 2), estatica);
}

TEST_F(BusquedaDirecta, QsearchSoloCapturasPerdedoras) {
    preparar("4k3/8/2p5/3p1p2/6p1/8/8/3QK3 w - - 0 1");
    const int32_t estatica = evaluar(*t);
    EXPECT_EQ(b->qsearch(-Infinito, Infinito, 2), estatica);
    EXPECT_EQ(estadisticas.podadosSEE, 2u);
    EXPECT_EQ(estadisticas.nodosQsearch, 1u);
    EXPECT_EQ(t->numHistorial, 0);
}

TEST_F(BusquedaDirecta, QsearchCapturaIlegalPorClavada) {
    preparar("4k3/8/8/8/4r3/6p1/4N3/4K3 w - - 0 1");
    const int32_t estatica = evaluar(*t);
    EXPECT_EQ(b->qsearch(-Infinito, Infinito, 2), estatica);
    EXPECT_EQ(estadisticas.podadosSEE, 0u);
    EXPECT_EQ(estadisticas.nodosQsearch, 1u);
}

TEST_F(BusquedaDirecta, QsearchTranquilaPorDebajoDeAlfaDevuelveLaEvaluacion) {
    preparar("4k3/4p3/8/8/8/8/3P4/4K3 w - - 0 1");
    const int32_t estatica = evaluar(*t);
    EXPECT_EQ(b->qsearch(estatica + 15, estatica + 45, 2), estatica);
    EXPECT_EQ(b->qsearch(estatica - 15, estatica + 45, 2), estatica);
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

TEST_F(BusquedaDirecta, QsearchEnElUltimoPlyNoGenera) {
    preparar("4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1");
    const int32_t estatica = evaluar(*t);
    EXPECT_EQ(b->qsearch(-Infinito, Infinito, MaxPly), estatica);
    EXPECT_EQ(b->qsearch(estatica + 5, Infinito, MaxPly), estatica + 5);
}

// pensar with a depth: the counters and the best move come from this search alone.
class Pensar : public BusquedaDirecta {
  protected:
    Movimiento pensarCallado(int32_t profundidad, std::string* salida = nullptr) {
        motor->controlTiempo->reiniciar();
        motor->controlTiempo->setDepth(profundidad);
        b->setResumen(false);
        std::ostringstream texto;
        std::streambuf* anterior = std::cout.rdbuf(texto.rdbuf());
        const Movimiento m = b->pensar();
        std::cout.rdbuf(anterior);
        b->setResumen(true);
        if (salida) *salida = texto.str();
        return m;
    }
};

TEST_F(Pensar, MateEnUnoYRaizSinMovimientos) {
    preparar("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
    std::string salida;
    EXPECT_EQ(movimientoATexto(pensarCallado(3, &salida)), "a1a8");
    EXPECT_NE(salida.find("score mate 1 pv a1a8 \n"), std::string::npos) << salida;

    preparar("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(pensarCallado(4, &salida), MovimientoNulo);
    EXPECT_EQ(salida, "");
    EXPECT_EQ(estadisticas.nodos, 0u);
}

TEST_F(Pensar, ContadoresDeCadaBusquedaEmpiezanEnCero) {
    preparar("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    pensarCallado(4);
    const uint64_t primera = estadisticas.nodos;
    ASSERT_GT(primera, 0u);
    motor->tablaHash->vaciar();
    pensarCallado(4);
    EXPECT_EQ(estadisticas.nodos, primera);
}

TEST_F(Pensar, ProfundidadNegativaNoBusca) {
    preparar("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    std::string salida;
    EXPECT_EQ(pensarCallado(-1, &salida), MovimientoNulo);
    EXPECT_EQ(salida, "");
    EXPECT_EQ(estadisticas.nodos, 0u);
}

} // namespace
