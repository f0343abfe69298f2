#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <unistd.h>

#include "apoyo/consistencia.h"
#include "apoyo/consola_en_proceso.h"
#include "busqueda/estadisticas.h"
#include "uci/control_tiempo.h"

namespace {

using Lineas = std::vector<std::string>;

// The limits of each "go" from its words, and the budget of each side, read after a search of
// a checkmated position, which visits no node. Every "go" starts from zero limits.
TEST(Go, PalabrasYPresupuestos) {
    const struct {
        const char* palabras;
        uint32_t blancas, negras;
        int32_t depth;
        bool infinite;
    } casos[] = {
        {"wtime 60000", 1000, 0, 0, false},
        {"wtime 60000 winc 1000", 2000, 0, 0, false},
        // With a moves-to-go count the increment plays no part.
        {"wtime 60000 movestogo 19 winc 5000", 3000, 0, 0, false},
        {"wtime 600000 winc 9000 btime 6000 binc 200", 19000, 300, 0, false},
        {"wtime 1 btime 1 movestogo 19 movetime 5000 depth 7", 5000, 5000, 7, false},
        // Negative or overflowing values count as zero; unknown words are passed over.
        {"wtime -100 btime -100 winc -5 binc -5", 0, 0, 0, false},
        {"movestogo -1 wtime 1000 ponder", 16, 0, 0, false},
        {"wtime 6000 movestogo 4294967295 depth 99999999999", 100, 0, 0, false},
        // A value is never read as a key word; searchmoves takes one word.
        {"depth wtime 6000", 0, 0, 0, false},
        {"btime 500 wtime", 0, 8, 0, false},
        {"searchmoves wtime 100 infinite", 0, 0, 0, true},
        {"movetime infinite depth -1", 0, 0, -1, false},
        {"  wtime   700 wtime 100 depth 2 depth 9 ", 1, 0, 9, false},
    };
    ConsolaEnProceso consola;
    consola.enviar("position fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    const ControlTiempo& c = *consola.motor->controlTiempo;
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.palabras);
        EXPECT_EQ(consola.enviar(std::string("go ") + caso.palabras).back(), "bestmove xxxx");
        EXPECT_EQ(
            std::make_tuple(c.tiempoAsignado(Blanco), c.tiempoAsignado(Negro), c.depth, c.infinite),
            std::make_tuple(caso.blancas, caso.negras, caso.depth, caso.infinite));
    }
    // Without words nothing runs and nothing is reset.
    EXPECT_EQ(consola.enviar("go "), Lineas{});
    EXPECT_EQ(c.depth, 9);
}

// Twenty-one queens make the quiescence search of a two-ply search run to hundreds of thousands
// of nodes; a depth limit does not bound it, the periodic check does. "isready" is answered
// during the search; the count waits for its end.
TEST(Consola, BusquedaSinFinLaTerminaLaComprobacionPeriodica) {
    ConsolaEnProceso consola;
    Tablero& t = *consola.motor->tablero;
    consola.enviar("position fen QQQQQQQQ/qqQQQQQQ/2qqpqqq/2Kp3k/8/8/8/8 b - - 0 1");
    consola.durante = {"perft 1", "isready"};
    const Lineas salida = consola.enviar("go depth 2");
    EXPECT_EQ(consola.comprobaciones, 3);
    EXPECT_LT(estadisticas.nodos, 4 * 25000u);
    std::string orden;
    for (const std::string& l : salida)
        for (const char* p : {"readyok", "bestmove", "Perft(1)"})
            if (l.rfind(p, 0) == 0) orden += std::string(p) + " ";
    EXPECT_EQ(orden, "readyok bestmove Perft(1) ");
    EXPECT_EQ(inconsistencia(t), "");
}

// Standard input from now on holds the given bytes.
void ponerEntrada(const std::string& bytes) {
    std::FILE* archivo = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), archivo);
    std::rewind(archivo);
    dup2(fileno(archivo), STDIN_FILENO);
    std::fclose(archivo);
    std::clearerr(stdin);
}

// Records the lines the reader hands over and ends on "quit", as the real console does.
class ConsolaRegistro : public Consola {
  public:
    void procesarLinea() override {
        lineas.push_back(linea);
        salir = linea == "quit";
        liberarLector();
    }
    Lineas lineas;
};

// Lines reach the dispatcher whole, with one final "\r" taken off; a last piece without its line
// end is dropped for "quit"; nothing after "quit" is read.
TEST(Lector, LineasComoLlegan) {
    const std::string larga(5000, 'k');
    const std::pair<std::string, Lineas> casos[] = {
        {"uno\r\n\n" + larga + "\r\nsin fin de linea", {"uno", "", larga, "quit"}},
        {std::string("a\r\r\nb\rc\nd\0e\n", 12), {"a\r", "b\rc", {"d\0e", 3}, "quit"}},
        {"quit\nnunca\n", {"quit"}}};
    for (const auto& [entrada, esperadas] : casos) {
        ponerEntrada(entrada);
        ConsolaRegistro consola;
        consola.ejecutar();
        // Compared whole but printed short: the long lines would flood a failure.
        EXPECT_TRUE(consola.lineas == esperadas) << entrada.substr(0, 30);
    }
}

TEST(ConsolaDeathTest, FalloAlIniciarElLectorTerminaConUno) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            ConsolaRegistro consola;
            forzarFalloProximoHilo(4000000000u);
            consola.ejecutar();
        },
        ::testing::ExitedWithCode(1), "CreateThread Failed = 4000000000\n");
}

} // namespace
