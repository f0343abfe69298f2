#include <gtest/gtest.h>

#include <set>
#include <string>

#include "apoyo/uci.h"

namespace {

constexpr int MaximoPlies = 60;

// The engine plays both sides through UCI. Before every "go" the legal moves are listed, and the
// answer must be one of them; the game ends when the side to move has none or at the limit.
// Returns the plies played, negative when the game ended with no move left.
int jugar(const std::string& inicio, const std::string& go) {
    SesionUCI m(false);
    m.enviar("ucinewgame");
    std::string jugadas;
    for (int ply = 0;; ++ply) {
        SCOPED_TRACE(inicio + " moves" + jugadas);
        m.enviar(inicio + (jugadas.empty() ? "" : " moves" + jugadas));
        const Lineas listado = m.salidaDe("listamovs"), lista = palabras(listado.at(0));
        const std::set<std::string> legales(lista.begin(), lista.end());
        EXPECT_EQ(listado, lineasDe(listado[0] + "\nTotal Movimientos: " +
                                    std::to_string(legales.size()) + "\n\n"));
        if (ply == MaximoPlies) return ply;

        const Lineas busqueda = m.buscar(go);
        if (busqueda.empty()) return 0;
        for (std::size_t i = 0; i + 1 < busqueda.size(); ++i)
            EXPECT_TRUE(empiezaPor(busqueda[i], "info ")) << busqueda[i];
        const std::string movimiento = busqueda.back().substr(9);
        if (legales.empty()) {
            EXPECT_EQ(movimiento, "xxxx");
            return -ply;
        }
        if (legales.count(movimiento) != 1) {
            ADD_FAILURE() << movimiento << " is not legal; legal: " << listado[0];
            return 0;
        }
        jugadas += " " + movimiento;
    }
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
