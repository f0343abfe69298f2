#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/consistencia.h"
#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

// Input past what a well-behaved interface sends: text positions beyond the board, histories
// past their capacity, depths past the list array, and searches that only a "stop" can end.
namespace {

// A console tied to the shared engine; a running search finds the queued lines at its periodic
// checks, and "stop" once they are used up.
class ConsolaPrueba : public ConsolaUCI {
  public:
    ConsolaPrueba() {
        motor = &motorDePrueba();
        motor->consola = this;
        posicionInicial(*motor->tablero);
    }
    ~ConsolaPrueba() override { motor->consola = nullptr; }

    void procesarLinea() override {
        ++comprobaciones;
        if (durante.empty()) {
            linea = "stop";
        } else {
            linea = durante.front();
            durante.pop_front();
        }
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
    }

    // Runs one line and returns what it printed, line by line.
    std::vector<std::string> ejecutar(const std::string& texto) {
        std::ostringstream capturada;
        std::streambuf* anterior = std::cout.rdbuf(capturada.rdbuf());
        linea = texto;
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
        eventoLineaLista.reiniciar();
        std::cout.rdbuf(anterior);
        std::vector<std::string> lineas;
        std::istringstream leida(capturada.str());
        for (std::string l; std::getline(leida, l);) lineas.push_back(l);
        return lineas;
    }

    Tablero& tablero() { return *motor->tablero; }

    std::deque<std::string> durante;
    int comprobaciones = 0;
};

int contarQueEmpiezan(const std::vector<std::string>& lineas, const std::string& prefijo) {
    int n = 0;
    for (const std::string& l : lineas) n += l.rfind(prefijo, 0) == 0 ? 1 : 0;
    return n;
}

void comprobarConsistente(const Tablero& t) {
    std::string motivo;
    EXPECT_TRUE(tableroConsistente(t, &motivo)) << motivo;
}

// Search, generation and printouts must all run on whatever the text set up.
void recorrerComandos(ConsolaPrueba& consola) {
    EXPECT_EQ(contarQueEmpiezan(consola.ejecutar("go depth 1"), "bestmove "), 1);
    consola.ejecutar("perft 2");
    consola.ejecutar("divide 1");
    consola.ejecutar("listamovs");
    consola.ejecutar("tablero");
    consola.ejecutar("see a1h8");
    comprobarConsistente(consola.tablero());
}

TEST(TextoFueraDeLimites, ColocacionMasAllaDeLas64CasillasSeIgnora) {
    ConsolaPrueba consola;
    const std::vector<std::string> colocaciones = {
        std::string(200, 'Q') + "/k",         // runs past h8
        "K7/" + std::string(40, '/') + "qqq", // runs below a1
        "k/8/8/8/8/8/8/8/8/8/8/8/8/8/8/K",    // sixteen ranks
        "99999999/k/K/QQQQQQQQQ/xxxxxxxxxxx", // stray characters advance the square
    };
    for (const std::string& colocacion : colocaciones) {
        SCOPED_TRACE(colocacion);
        EXPECT_TRUE(consola.ejecutar("position fen " + colocacion + " w - - 0 1").empty());
        comprobarConsistente(consola.tablero());
        recorrerComandos(consola);
    }
    consola.ejecutar("position fen " + std::string(200, 'Q') + "/k w - - 0 1");
    for (int s = 56; s < 64; ++s) EXPECT_EQ(consola.tablero().piezas[s], DamaBlanca) << s;
    EXPECT_EQ(consola.tablero().piezas[0], Vacio);
}

TEST(HistorialLleno, LasJugadasDeMasSeRechazanYElMotorSigue) {
    ConsolaPrueba consola;
    std::string linea = "position startpos moves";
    const int ciclos = 240; // 960 moves, past the 896 kept below the search's own room
    for (int i = 0; i < ciclos; ++i) linea += " g1f3 g8f6 f3g1 f6g8";
    const std::vector<std::string> salida = consola.ejecutar(linea);
    const int guardadas = CapacidadHistorial - MaxPly;
    EXPECT_EQ(consola.tablero().numHistorial, guardadas);
    // Once a move is refused the side to move stays, so the next three words name no move.
    EXPECT_EQ(contarQueEmpiezan(salida, "Historial lleno: "), ciclos - guardadas / 4);
    EXPECT_EQ(contarQueEmpiezan(salida, "Movimiento erroneo: "), 3 * (ciclos - guardadas / 4));
    comprobarConsistente(consola.tablero());

    EXPECT_EQ(consola.ejecutar("move e2e4"), std::vector<std::string>{"Historial lleno: e2e4"});
    EXPECT_EQ(contarQueEmpiezan(consola.ejecutar("go depth 3"), "bestmove "), 1);
    EXPECT_EQ(consola.ejecutar("perft 3").front(), "Perft(3) = 8902");
    EXPECT_EQ(consola.tablero().numHistorial, guardadas);
    comprobarConsistente(consola.tablero());

    // A fresh position empties the history and moves are played again.
    EXPECT_TRUE(consola.ejecutar("position startpos moves e2e4").empty());
    EXPECT_EQ(consola.tablero().numHistorial, 1);
}

// Counts past the list array print nothing; a search to a negative depth does not search.
TEST(ProfundidadFueraDeLimites, NoCuentanNiBuscan) {
    ConsolaPrueba consola;
    for (const std::string linea : {"perft 128", "divide 128", "perft 2147483647",
                                    "divide 99999999999", "perft -1", "divide 0"}) {
        EXPECT_TRUE(consola.ejecutar(linea).empty()) << linea;
    }
    EXPECT_EQ(consola.ejecutar("go depth -2147483648").back(), "bestmove xxxx");
    EXPECT_EQ(estadisticas.nodos, 0u);
}

// Twenty-one queens make the quiescence search of a two-ply search run to hundreds of
// thousands of nodes; a depth limit does not bound it, the periodic check does.
TEST(BusquedaSinFin, StopEnLaPrimeraComprobacionLaTermina) {
    ConsolaPrueba consola;
    consola.ejecutar("position fen QQQQQQQQ/qqQQQQQQ/2qqpqqq/2Kp3k/8/8/8/8 b - - 0 1");
    consola.durante = {"perft 1", "isready"};
    const std::vector<std::string> salida = consola.ejecutar("go depth 2");
    EXPECT_EQ(consola.comprobaciones, 3);
    EXPECT_LT(estadisticas.nodos, 4 * 25000u);
    // "isready" is answered during the search; the count waits for its answer.
    const auto respuesta = std::find_if(salida.begin(), salida.end(), [](const std::string& l) {
        return l.rfind("bestmove ", 0) == 0;
    });
    ASSERT_NE(respuesta, salida.end());
    const std::vector<std::string> antes(salida.begin(), respuesta);
    const std::vector<std::string> despues(respuesta, salida.end());
    EXPECT_EQ(std::count(antes.begin(), antes.end(), "readyok"), 1);
    EXPECT_EQ(contarQueEmpiezan(antes, "Perft(1) = "), 0);
    EXPECT_EQ(contarQueEmpiezan(despues, "Perft(1) = "), 1);
    comprobarConsistente(consola.tablero());
}

} // namespace
