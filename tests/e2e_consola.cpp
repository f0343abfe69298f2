#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "apoyo/uci.h"

namespace {

// "quit" in its forms and the end of input. A last "quit" without its line end is no line yet:
// the engine keeps waiting until the input ends.
TEST(ArranqueYFin, QuitYFinDeEntradaTerminanSinImprimir) {
    for (const std::string bytes :
         {"quit\n", "quit ahora mismo\n", "quit\r\n", "quit\nuci\n", "", "quit"}) {
        SCOPED_TRACE(bytes);
        SesionUCI m;
        ASSERT_TRUE(m.proceso.escribir(bytes));
        if (bytes.empty() || bytes.back() != '\n') {
            EXPECT_FALSE(m.proceso.esperarFin(Proceso::Plazo(200))) << "ended too early";
            m.proceso.cerrarEntrada();
        }
        m.finSilencioso();
    }
}

// Knights out and back to the start position. The history keeps room for the deepest search on
// top of the game: 1024 - 128 moves; stuck at the start only the white knight move is playable.
// The line is read in pieces of 1023 characters and reaches its command whole; "quit" at the
// start of a piece is no line.
TEST(Position, HistorialLlenoYLineasLargas) {
    const std::string ciclo[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string linea = "position startpos moves";
    for (int i = 0; i < 900; ++i) linea += " " + ciclo[i % 4];
    SesionUCI m;
    EXPECT_EQ(m.salidaDe(std::string(2 * 1023, 'y') + "quit"), Lineas{});
    EXPECT_EQ(m.salidaDe(linea), (Lineas{"Historial lleno: g1f3", "Movimiento erroneo: g8f6",
                                         "Movimiento erroneo: f3g1", "Movimiento erroneo: f6g8"}));
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{"Historial lleno: e2e4"});
    const Lineas tablero = m.salidaDe("tablero");
    EXPECT_EQ(tablero.size() == 22 ? tablero[21].size() : 0, 11 + 896 * 5u);
}

// Ten thousand lines of words of the fuzzer's dictionary (escapes as written, so more words), in
// batches fenced by "isready". A search is stopped and answered before the next line goes out;
// "quit" is left out.
TEST(Resistencia, MilesDeLineasDelDiccionarioSinCaidaNiBloqueo) {
    std::ifstream archivo(std::filesystem::path(__FILE__).parent_path() /
                          "../fuzz/diccionario.txt");
    Lineas entradas;
    for (std::string l; std::getline(archivo, l);)
        if (!empiezaPor(l, "#") && l.find('"') < l.rfind('"'))
            entradas.push_back(l.substr(l.find('"') + 1, l.rfind('"') - l.find('"') - 1));
    ASSERT_GT(entradas.size(), 40u);
    std::mt19937 azar(20240611);
    SesionUCI m;
    for (int lote = 0, enviadas = 0; enviadas < 10000; ++lote) {
        int preguntas = 1;
        for (int n = 0; n < 25; ++n, ++enviadas) {
            std::string linea = entradas[azar() % entradas.size()];
            while (azar() % 4 != 0) linea += " " + entradas[azar() % entradas.size()];
            const std::string palabra = linea.substr(0, linea.find(' '));
            if (palabra == "quit") continue;
            m.enviar(linea);
            preguntas += palabra == "isready";
            if (palabra != "go" || linea.find_first_not_of(' ', 2) == std::string::npos) continue;
            m.enviar("stop");
            // Everything printed before, "readyok" lines too, is read up to the "bestmove".
            ASSERT_FALSE(m.hasta("bestmove ").empty()) << "batch " << lote << ": " << linea;
            preguntas = 1;
        }
        m.enviar("isready");
        for (; preguntas > 0; --preguntas)
            for (const std::string& l : m.hasta("readyok"))
                ASSERT_FALSE(empiezaPor(l, "bestmove")) << "batch " << lote << ": " << l;
    }
    m.enviar("quit");
    m.finSilencioso();
}

// "bench" on the command line searches the benchmark positions and prints only its total, whose
// node count is the same on every build.
TEST(LineaDeOrdenes, Bench) {
    Proceso banco({"bench"});
    const auto linea = banco.leerLinea(Proceso::escalar(Proceso::Plazo(60000)));
    ASSERT_TRUE(linea);
    EXPECT_TRUE(empiezaPor(*linea, "13977224 nodes ")) << *linea;
    EXPECT_EQ(linea->substr(linea->size() - 4), " nps") << *linea;
    EXPECT_FALSE(banco.leerLinea()) << "more than one line";
    EXPECT_EQ(banco.esperarFin(), 0);
}

// Any other argument ends the engine with status 2.
TEST(LineaDeOrdenes, ArgumentosDesconocidos) {
    Proceso desconocido({"bench", "uci"});
    EXPECT_FALSE(desconocido.leerLinea());
    EXPECT_EQ(desconocido.esperarFin(), 2);
}

} // namespace
