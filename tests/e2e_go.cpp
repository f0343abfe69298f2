#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "apoyo/uci.h"

namespace {

const std::string Blancas = "b1a3 b1c3 g1f3 g1h3 a2a3 b2b3 c2c3 d2d3 e2e3 f2f3 g2g3 h2h3 a2a4 "
                            "b2b4 c2c4 d2d4 e2e4 f2f4 g2g4 h2h4 ";
const std::string Negras = "b8a6 b8c6 g8f6 g8h6 a7a6 b7b6 c7c6 d7d6 e7e6 f7f6 g7g6 h7h6 a7a5 "
                           "b7b5 c7c5 d7d5 e7e5 f7f5 g7g5 h7h5 ";

bool esDe(const std::string& bestmove, const std::string& jugadas) {
    const Lineas lista = palabras(jugadas);
    return std::find(lista.begin(), lista.end(), bestmove.substr(9)) != lista.end();
}

// "isready", "stop" and "quit" act during a search; other lines wait for its "bestmove" and
// then run in order. The deadlines are generous: 2 s for a "stop" noticed within 25000 nodes.
TEST(DuranteLaBusqueda, EsperanOActuanAlMomento) {
    SesionUCI m;
    m.enviar("setoption name Resumen Busqueda value false");
    for (const char* linea :
         {"go infinite", "position startpos moves e2e4", "listamovs", "go depth 1", "isready"})
        m.enviar(linea);
    const Lineas antes = m.hasta("readyok");
    for (std::size_t i = 0; i + 1 < antes.size(); ++i) EXPECT_TRUE(empiezaPor(antes[i], "info "));
    m.enviar("stop");
    const Lineas primera = m.hasta("bestmove ", 2000);
    ASSERT_FALSE(primera.empty());
    EXPECT_TRUE(esDe(primera.back(), Blancas)) << primera.back();
    EXPECT_EQ(m.hasta("Total Movimientos: ").at(0), Negras);
    const Lineas segunda = m.hasta("bestmove ");
    ASSERT_GE(segunda.size(), 3u);
    EXPECT_TRUE(empiezaPor(segunda.end()[-2], "info depth 1 ")) << segunda.end()[-2];
    EXPECT_TRUE(esDe(segunda.back(), Negras)) << segunda.back();
    // One "bestmove" per search: a later "stop" prints nothing.
    EXPECT_EQ(m.salidaDe("stop"), Lineas{});

    // "quit" during a search: its "bestmove", nothing more, and status 0.
    m.enviar("go infinite");
    m.enviar("quit");
    EXPECT_NE(m.hasta("bestmove ", 2000), Lineas{});
    EXPECT_FALSE(m.proceso.leerLinea());
    EXPECT_TRUE(m.proceso.agotado());
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

// Odd "go" lines: each ends with one "bestmove" once stopped, and the engine answers after.
TEST(EntradaMala, GoRaroNoCuelgaNiRompe) {
    SesionUCI m;
    m.enviar("setoption name Resumen Busqueda value false");
    for (const char* go :
         {"go depth -1", "go depth abc", "go wtime -100 btime -100", "go movestogo -1 wtime 1000",
          "go depth 99999999", "go nodes", "go mate 3 movetime 50", "go depth 0",
          "go infinite depth", "go searchmoves"}) {
        SCOPED_TRACE(go);
        m.enviar(go);
        m.enviar("stop");
        ASSERT_FALSE(m.hasta("bestmove ", 5000).empty());
        EXPECT_EQ(m.salidaDe("stop"), Lineas{});
    }
}

// The search takes the whole of a fixed time; the deadline bounds it by 25 times that.
TEST(Limites, MovetimeSeCumple) {
    SesionUCI m;
    m.enviar("setoption name Resumen Busqueda value false");
    const auto inicio = std::chrono::steady_clock::now();
    m.enviar("go movetime 200");
    EXPECT_FALSE(m.hasta("bestmove ", 5000).empty());
    EXPECT_GE(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(190));
}

} // namespace
