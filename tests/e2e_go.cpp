#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "apoyo/uci.h"

namespace {

// Odd "go" lines: each ends with one "bestmove" once stopped, and the engine answers after. A
// fixed time is taken whole; the deadline bounds it by 25 times that.
TEST(Go, LineasRarasYTiempoFijo) {
    SesionUCI m;
    m.enviar("setoption name Resumen Busqueda value false");
    for (const char* go : {"go depth abc", "go wtime -100 btime -100", "go movestogo -1 wtime 1000",
                           "go depth 99999999", "go mate 3 movetime 50", "go infinite depth"}) {
        m.enviar(go);
        m.enviar("stop");
        EXPECT_FALSE(m.hasta("bestmove ", 5000).empty()) << go;
        EXPECT_EQ(m.salidaDe("stop"), Lineas{}) << go;
    }
    const auto inicio = std::chrono::steady_clock::now();
    m.enviar("go movetime 200");
    EXPECT_FALSE(m.hasta("bestmove ", 5000).empty());
    EXPECT_GE(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(190));
}

constexpr int MaximoPlies = 60;

// The engine plays both sides through UCI. Before every "go" the legal moves are listed, and the
// answer must be one of them. Returns the plies played, negative when the game ended with no
// move left.
int jugar(const std::string& inicio, const std::string& go) {
    SesionUCI m;
    m.enviar("setoption name Resumen Busqueda value false");
    std::string jugadas;
    for (int ply = 0; ply < MaximoPlies; ++ply) {
        SCOPED_TRACE(inicio + " moves" + jugadas);
        m.enviar(inicio + " moves" + jugadas);
        // Every move of the list is followed by a blank.
        const std::string legales = " " + m.salidaDe("listamovs").at(0);
        m.enviar(go);
        const Lineas busqueda = m.hasta("bestmove ");
        const std::string jugada = busqueda.empty() ? "" : busqueda.back().substr(9);
        if (legales == " ") {
            EXPECT_EQ(jugada, "xxxx");
            return -ply;
        }
        if (legales.find(" " + jugada + " ") == std::string::npos) {
            ADD_FAILURE() << jugada << " is not legal; legal:" << legales;
            return 0;
        }
        jugadas += " " + jugada;
    }
    return MaximoPlies;
}

TEST(Autojuego, CadaBestmoveEsLegal) {
    // Castlings available; promotions and en passant soon.
    for (const char* inicio :
         {"position startpos",
          "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
          "position fen 8/2P3k1/8/3pP3/8/8/1p3K2/8 w - d6 0 1"})
        EXPECT_NE(jugar(inicio, "go depth 3"), 0) << inicio;
}

TEST(Autojuego, DamaContraReyTerminaEnMate) {
    const int plies = jugar("position fen 8/8/8/4k3/8/8/8/3QK3 w - - 0 1", "go depth 6");
    EXPECT_LT(plies, 0) << "no mate within " << MaximoPlies << " plies";
    EXPECT_EQ(-plies % 2, 1) << "the side with the queen gives the last move";
}

} // namespace
