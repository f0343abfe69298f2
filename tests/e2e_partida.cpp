#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

namespace {

constexpr int MaximoPlies = 60;

bool empiezaPor(const std::string& linea, const std::string& prefijo) {
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

struct Resultado {
    int plies = 0;
    bool sinMovimientos = false;
};

// The engine plays both sides through UCI. Before every "go" the legal moves are listed, and
// the answer must be one of them; the game ends when the side to move has none or at the limit.
void jugar(const std::string& inicio, const std::string& go, Resultado& resultado) {
    Proceso motor;
    ASSERT_TRUE(motor.iniciado());
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(motor.leerLinea());
    motor.escribirLinea("setoption name Resumen Busqueda value false");
    motor.escribirLinea("ucinewgame");

    std::string jugadas;
    for (int ply = 0; ply <= MaximoPlies; ++ply) {
        motor.escribirLinea(inicio + (jugadas.empty() ? "" : " moves" + jugadas));
        motor.escribirLinea("listamovs");
        std::vector<std::string> listado;
        const auto total = motor.leerHasta(
            [](const std::string& l) { return empiezaPor(l, "Total Movimientos: "); },
            Proceso::plazoPorDefecto(), &listado);
        ASSERT_TRUE(total) << "no move list after" << jugadas;
        ASSERT_GE(listado.size(), 2u);
        for (std::size_t i = 0; i + 2 < listado.size(); ++i)
            ADD_FAILURE() << "unexpected line before the move list: " << listado[i];
        ASSERT_TRUE(motor.leerLinea()) << "blank line after the move list";

        std::set<std::string> legales;
        std::istringstream palabras(listado[listado.size() - 2]);
        for (std::string m; palabras >> m;) legales.insert(m);
        ASSERT_EQ(std::to_string(legales.size()), total->substr(19)) << jugadas;
        if (ply == MaximoPlies) break;

        motor.escribirLinea(go);
        std::vector<std::string> busqueda;
        const auto mejor =
            motor.leerHasta([](const std::string& l) { return empiezaPor(l, "bestmove "); },
                            Proceso::plazoPorDefecto(), &busqueda);
        ASSERT_TRUE(mejor) << "no bestmove after" << jugadas;
        for (std::size_t i = 0; i + 1 < busqueda.size(); ++i)
            EXPECT_TRUE(empiezaPor(busqueda[i], "info ")) << busqueda[i];
        const std::string movimiento = mejor->substr(9);
        if (legales.empty()) {
            EXPECT_EQ(movimiento, "xxxx") << jugadas;
            resultado.sinMovimientos = true;
            break;
        }
        ASSERT_EQ(legales.count(movimiento), 1u) << movimiento << " is not legal after" << jugadas
                                                 << "; legal: " << listado[listado.size() - 2];
        jugadas += " " + movimiento;
        resultado.plies = ply + 1;
    }
    motor.escribirLinea("quit");
    EXPECT_EQ(motor.esperarFin(), 0);
}

TEST(Autojuego, DesdeLaPosicionInicial) {
    Resultado r;
    jugar("position startpos", "go depth 3", r);
    EXPECT_GT(r.plies, 0);
}

// Open middle game with both castlings available.
TEST(Autojuego, MedioJuegoConEnroques) {
    Resultado r;
    jugar("position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
          "go depth 3", r);
    EXPECT_GT(r.plies, 0);
}

// Promotions and en passant come up quickly with pawns this far advanced.
TEST(Autojuego, PeonesAPuntoDeCoronar) {
    Resultado r;
    jugar("position fen 8/2P3k1/8/3pP3/8/8/1p3K2/8 w - d6 0 1", "go depth 3", r);
    EXPECT_GT(r.plies, 0);
}

// A queen against a bare king: the game ends in mate well inside the limit.
TEST(Autojuego, DamaContraReyTerminaEnMate) {
    Resultado r;
    jugar("position fen 8/8/8/4k3/8/8/8/3QK3 w - - 0 1", "go movetime 50", r);
    EXPECT_TRUE(r.sinMovimientos) << "no mate within " << MaximoPlies << " plies";
    EXPECT_EQ(r.plies % 2, 1) << "the side with the queen gives the last move";
}

} // namespace
