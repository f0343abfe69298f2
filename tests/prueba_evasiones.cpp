#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "apoyo/referencia_movimientos.h"
#include "generacion/ataques.h"

namespace {

using Textos = std::vector<std::string>;

// The evasions in generation order, after checking them against the slow generator's legal
// moves and against the pseudo-legal moves that survive the check test.
Textos evasiones(const std::string& fen) {
    auto t = tableroDesdeFEN(fen);
    EXPECT_TRUE(enJaque(*t)) << fen;
    const std::vector<Movimiento> movs = ayuda::evasiones(*t);
    Textos ordenados = ayuda::textosOrdenados(movs);
    EXPECT_TRUE(std::adjacent_find(ordenados.begin(), ordenados.end()) == ordenados.end())
        << "evasion repetida en " << fen;
    EXPECT_EQ(ordenados, referencia::textosLegales(referencia::desdeTablero(*t))) << fen;
    EXPECT_EQ(ayuda::ordenados(movs), ayuda::ordenados(ayuda::legales(*t))) << fen;
    return ayuda::textos(movs);
}

bool contiene(const Textos& lista, const std::string& texto) {
    return std::find(lista.begin(), lista.end(), texto) != lista.end();
}

TEST(Evasiones, ReyNoRetrocedeEnLaLineaDelJaque) {
    // e3 is not attacked while the king stands on e4, yet the rook reaches it once it leaves.
    const Textos movs = evasiones("4r2k/8/8/8/4K3/8/8/8 w - - 0 1");
    EXPECT_EQ(movs, (Textos{"e4d3", "e4f3", "e4d4", "e4f4", "e4d5", "e4f5"}));
    // The same along a diagonal.
    const Textos diagonal = evasiones("7k/8/8/8/8/2b5/8/4K3 w - - 0 1");
    EXPECT_FALSE(contiene(diagonal, "e1f0"));
    EXPECT_FALSE(contiene(diagonal, "e1d2"));
    EXPECT_TRUE(contiene(diagonal, "e1e2"));
}

TEST(Evasiones, CapturaDeUnAtacanteAdyacente) {
    EXPECT_EQ(evasiones("7k/8/8/8/8/8/4r3/4K3 w - - 0 1"), (Textos{"e1d1", "e1f1", "e1e2"}));
    // Protected by a pawn: the king may not take it.
    EXPECT_EQ(evasiones("7k/8/8/8/8/3p4/4r3/4K3 w - - 0 1"), (Textos{"e1d1", "e1f1"}));
}

TEST(Evasiones, DobleJaqueSoloMueveElRey) {
    // Knight c2 and bishop d2 both check; the rook and knight that could take one are idle.
    const Textos movs = evasiones("4k3/8/8/8/8/8/2nb3R/N3K3 w - - 0 1");
    EXPECT_EQ(movs, (Textos{"e1d1", "e1f1", "e1d2", "e1e2", "e1f2"}));
}

TEST(Evasiones, AlPasoContraElPeonQueDaJaque) {
    EXPECT_EQ(evasiones("4k3/8/8/3PpP2/5K2/8/8/8 w - e6 0 1"),
              (Textos{"f4e3", "f4f3", "f4g3", "f4e4", "f4g4", "f4e5", "f4g5", "f5e6", "d5e6"}));
    // The pawn on f5 is pinned along the f-file.
    const Textos clavado = evasiones("4kr2/8/8/3PpP2/5K2/8/8/8 w - e6 0 1");
    EXPECT_FALSE(contiene(clavado, "f5e6"));
    EXPECT_TRUE(contiene(clavado, "d5e6"));
}

TEST(Evasiones, AlPasoNegroSinSaltarDeBorde) {
    const Textos movs = evasiones("8/8/8/1k6/Pp6/7p/8/4K3 b - a3 0 1");
    EXPECT_TRUE(contiene(movs, "b4a3"));
    EXPECT_TRUE(contiene(movs, "b5a4"));
    EXPECT_FALSE(contiene(movs, "h3a3"));
    // The en-passant capture comes after every king move.
    EXPECT_EQ(movs.back(), "b4a3");
}

TEST(Evasiones, PiezasClavadasNoSeUsan) {
    // The knight on e2 could take the checking bishop but is pinned by the rook on e8.
    const Textos caballo = evasiones("4r2k/8/8/8/8/2b5/4N3/4K3 w - - 0 1");
    EXPECT_FALSE(contiene(caballo, "e2c3"));
    // The pawn on d3 could block on d4 but is pinned along the rank; the knight may block.
    const Textos peon = evasiones("4k3/8/1b6/8/8/r2PKN2/8/8 w - - 0 1");
    EXPECT_FALSE(contiene(peon, "d3d4"));
    EXPECT_TRUE(contiene(peon, "f3d4"));
}

TEST(Evasiones, BloqueoPromoviendo) {
    EXPECT_EQ(evasiones("K6r/3P4/8/8/8/8/8/4k3 w - - 0 1"),
              (Textos{"a8a7", "a8b7", "d7d8q", "d7d8n", "d7d8r", "d7d8b"}));
    EXPECT_EQ(evasiones("4K3/8/8/8/8/8/3p4/R6k b - - 0 1"),
              (Textos{"h1g2", "h1h2", "d2d1q", "d2d1n", "d2d1r", "d2d1b"}));
}

// King, knights, bishops and queens, rooks and queens, then pawn pushes (single before double).
TEST(Evasiones, OrdenPorTipoDePieza) {
    EXPECT_EQ(evasiones("Q7/6k1/2N5/q5B1/7R/8/1PP5/1N2K3 w - - 0 1"),
              (Textos{"e1d1", "e1f1", "e1e2", "e1f2", "b1d2", "b1c3", "c6b4", "c6a5", "g5d2",
                      "h4b4", "a8a5", "c2c3", "b2b4"}));
}

TEST(Evasiones, CapturasDePeonHaciaColumnaAAntes) {
    EXPECT_EQ(evasiones("4k3/8/8/8/8/3n4/2P1P3/4K3 w - - 0 1"),
              (Textos{"e1d1", "e1f1", "e1d2", "e2d3", "c2d3"}));
    EXPECT_EQ(evasiones("4k3/2p1p3/3N4/8/8/8/8/4K3 b - - 0 1"),
              (Textos{"e8d7", "e8d8", "e8f8", "e7d6", "c7d6"}));
}

} // namespace
