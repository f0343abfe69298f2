#include <gtest/gtest.h>

#include "apoyo/consistencia.h"
#include "apoyo/tablero_prueba.h"
#include "generacion/see.h"

namespace {

using namespace ayuda;

// The order of each generator, which the search's move order builds on.
TEST(Generacion, OrdenDeCapturasTranquilosYEvasiones) {
    const struct {
        const char* fen;
        int cuales;
        const char* lista;
    } casos[] = {
        // Knight, king, rooks and queens, bishops and queens, push promotions, en passant,
        // then pawn captures toward file a and toward file h; quiet pawn moves last.
        {"r6k/1P6/8/2pP4/1b2n3/2N5/4Q3/R3K3 w - c6 0 1", Capturas,
         "c3e4 a1a8 e2e4 b7b8q b7b8n b7b8r b7b8b d5c6 b7a8q b7a8n b7a8r b7a8b"},
        {"r6k/1P6/8/2pP4/1b2n3/2N5/4Q3/R3K3 w - c6 0 1", Tranquilos,
         "c3b1 c3d1 c3a2 c3a4 c3b5 e1d1 e1f1 e1d2 e1f2 a1b1 a1c1 a1d1 a1a2 a1a3 a1a4 a1a5 a1a6 "
         "a1a7 e2a2 e2b2 e2c2 e2d2 e2f2 e2g2 e2h2 e2e3 e2d1 e2f1 e2d3 e2f3 e2c4 e2g4 e2b5 e2h5 "
         "e2a6 d5d6"},
        {"4k3/8/8/8/3pPp2/8/6p1/4K2R b - e3 0 1", Capturas,
         "g2g1q g2g1n g2g1r g2g1b d4e3 f4e3 g2h1q g2h1n g2h1r g2h1b"},
        {"4k3/8/8/8/3pPp2/8/6p1/4K2R b - e3 0 1", Tranquilos, "e8d7 e8e7 e8f7 e8d8 e8f8 d4d3 f4f3"},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1", Capturas, "f5e6 d5e6"},
        // Pawns on the last rank have no move.
        {"P3k3/8/8/8/8/8/8/p3K3 w - - 0 1", PseudoLegales, "e1d1 e1f1 e1d2 e1e2 e1f2"},
        // En-passant squares on the wrong rank or with no pawn behind give nothing.
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e3 0 1", Capturas, ""},
        {"4k3/8/8/3P1P2/8/8/8/4K3 w - e6 0 1", Capturas, ""},
        // Evasions: king, knights, bishops and queens, rooks and queens, then pawn pushes.
        {"Q7/6k1/2N5/q5B1/7R/8/1PP5/1N2K3 w - - 0 1", Evasiones,
         "e1d1 e1f1 e1e2 e1f2 b1d2 b1c3 c6b4 c6a5 g5d2 h4b4 a8a5 c2c3 b2b4"},
        // King moves, en passant, pawn captures toward file a first, promotions.
        {"4k3/8/8/3PpP2/5K2/8/8/8 w - e6 0 1", Evasiones,
         "f4e3 f4f3 f4g3 f4e4 f4g4 f4e5 f4g5 f5e6 d5e6"},
        {"4k3/8/8/8/8/3n4/2P1P3/4K3 w - - 0 1", Evasiones, "e1d1 e1f1 e1d2 e2d3 c2d3"},
        {"K6r/3P4/8/8/8/8/8/4k3 w - - 0 1", Evasiones, "a8a7 a8b7 d7d8q d7d8n d7d8r d7d8b"},
        // The king does not step back along the checker's line, which it still hides.
        {"4r2k/8/8/8/4K3/8/8/8 w - - 0 1", Evasiones, "e4d3 e4f3 e4d4 e4f4 e4d5 e4f5"},
    };
    for (const auto& caso : casos) {
        auto t = tableroDesdeFEN(caso.fen);
        EXPECT_EQ(texto(generar(*t, caso.cuales)), caso.lista) << caso.fen;
        if (caso.cuales == Evasiones) {
            EXPECT_EQ(ordenados(generar(*t, Evasiones)), ordenados(legales(*t))) << caso.fen;
        }
    }
}

// A move word from elsewhere, as a killer is, is valid exactly when the generators produce it.
TEST(Generacion, ValidezYEnroques) {
    const char* const fen = "r3k3/8/8/8/4b3/2N5/4P3/R3K3 w Q - 0 1";
    const struct {
        const char* fen;
        Movimiento m;
        bool valido;
    } casos[] = {
        {fen, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, AlfilNegro), true},
        // The target holds another piece than recorded, or an own piece; wrong piece or side.
        {fen, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, CaballoNegro), false},
        {fen, crearMovimiento(cs("c3"), cs("e2"), CaballoBlanco, PeonBlanco), false},
        {fen, crearMovimiento(cs("c3"), cs("e4"), AlfilBlanco, AlfilNegro), false},
        {fen, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, AlfilNegro) | 1u << 29, false},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1",
         crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro), true},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - - 0 1",
         crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro), false},
        // b1 occupied: no long castling; g1 attacked: short castling is still generated.
        {"r3k1r1/8/8/8/8/8/8/RN2K2R w KQq - 0 1", EnroqueE1G1, true},
        {"r3k1r1/8/8/8/8/8/8/RN2K2R w KQq - 0 1", EnroqueE1C1, false},
        {"4k3/8/8/8/8/8/8/R1B1K3 w Q - 0 1", EnroqueE1C1, false},
        // b1 attacked but empty does not matter; d1 attacked does; in check neither.
        {"1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", EnroqueE1C1, true},
        {"3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1", EnroqueE1C1, false},
        {"4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1", EnroqueE1G1, false},
        // Rights without the king or the rook on their squares.
        {"4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1", EnroqueE1G1, false},
        {"4k3/8/8/8/8/8/8/B3K2N w KQ - 0 1", EnroqueE1G1, false},
    };
    for (const auto& caso : casos) {
        auto t = tableroDesdeFEN(caso.fen);
        const Movimientos movs = generar(*t, PseudoLegales);
        EXPECT_EQ(movimientoValido(*t, caso.m), caso.valido) << caso.fen;
        EXPECT_EQ(std::count(movs.begin(), movs.end(), caso.m), caso.valido) << caso.fen;
    }
}

TEST(Generacion, PosicionesQueSoloDaElTexto) {
    // No king: nothing for it, no check.
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_TRUE(generar(*t, PseudoLegales | Evasiones).empty());
    EXPECT_FALSE(enJaque(*t));
    // A king that can be taken: the move is generated but never valid.
    t = tableroDesdeFEN("4k3/8/8/8/8/8/4R3/4K3 w - - 0 1");
    const Movimientos movs = generar(*t, Capturas);
    ASSERT_EQ(texto(movs), "e2e8");
    EXPECT_FALSE(movimientoValido(*t, movs[0]));
    // 8 captures and 251 quiet moves: more than a list holds.
    t = tableroDesdeFEN("nQQQQQkQ/Q6Q/Q6Q/Q4Q1Q/Q6Q/Q2Q3Q/QQ5Q/K1QQQ1QQ w - - 0 1");
    EXPECT_EQ(generar(*t, Capturas).size(), 8u);
    EXPECT_EQ(generar(*t, PseudoLegales | Evasiones).size(), static_cast<size_t>(CapacidadLista));
}

// Positions where the search may tell a move's child before making it: those whose every line of
// play keeps one king a side, never leaves the side that moved in check, and offers only legal
// evasions.
TEST(Generacion, PosicionOrdinaria) {
    const std::pair<const char*, bool> casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", true},
        {"4k3/8/8/8/8/8/4r3/4K3 w - - 0 1", true},
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", false},
        {"4k3/8/8/8/8/8/8/K3K3 w - - 0 1", false},
        {"4k3/8/8/8/8/8/4R3/4K3 w - - 0 1", false},
        // In check from the pawn that has just advanced, whose capture en passant uncovers the
        // bishop: no game reaches this, and the evasions offer that capture.
        {"4k3/2b5/8/3Pp3/5K2/8/8/8 w - e6 0 1", false},
        {"4k3/8/8/3Pp3/5K2/8/8/8 w - e6 0 1", true},
    };
    for (const auto& [fen, ordinaria] : casos) {
        auto t = tableroDesdeFEN(fen);
        const Tablero antes = *t;
        EXPECT_EQ(posicionOrdinaria(*t), ordinaria) << fen;
        EXPECT_EQ(diferencia(antes, *t), "") << fen;
    }
}

TEST(SEE, Ejemplos) {
    const struct {
        const char *fen, *desde, *hasta;
        int32_t valor;
    } casos[] = {
        {"4k3/8/8/3p4/4N3/8/8/4K3 b - - 0 1", "d5", "e4", 300},
        {"4k3/8/2p5/3p4/8/8/8/3RK3 w - - 0 1", "d1", "d5", -400},
        // 100, 200, -100: knight takes, pawn retakes, second knight retakes.
        {"4k3/8/4p3/3p4/8/2N1N3/8/4K3 w - - 0 1", "c3", "d5", -100},
        // X-rays: a rook behind the front rook joins, a knight does not; a queen behind a
        // bishop joins, a rook does not.
        {"4k3/8/5n2/3p4/8/8/3R4/3R2K1 w - - 0 1", "d2", "d5", -100},
        {"4k3/8/5n2/3p4/8/8/3R4/3N2K1 w - - 0 1", "d2", "d5", -400},
        {"4k3/8/5n2/3p4/2B5/1Q6/8/4K3 w - - 0 1", "c4", "d5", 100},
        {"4k3/8/5n2/3p4/2B5/1R6/8/4K3 w - - 0 1", "c4", "d5", -200},
        // A slider of the other side behind the capturer joins too.
        {"4k3/8/8/3p4/8/8/3R3K/3r4 w - - 0 1", "d2", "d5", -400},
        // The king's recapture counts 0, with or without a rook to follow.
        {"8/8/3k4/4n3/3P4/8/8/4R1K1 w - - 0 1", "d4", "e5", 200},
        {"8/8/3k4/4n3/3P4/8/8/6K1 w - - 0 1", "d4", "e5", 200},
        // A pushed pawn is taken as standing on the target; the rook behind it then joins.
        {"4k3/8/8/8/3p4/8/4P3/6K1 w - - 0 1", "e2", "e3", -100},
        {"4k3/8/8/8/3p4/8/4P3/4R1K1 w - - 0 1", "e2", "e3", 0},
        // More attackers than a real game can have.
        {"qqqqqqqq/qqqqqqqq/qqq1qqqq/3p4/qqq1qqqq/QQQQQQQQ/QQQQQQQQ/QQQKQQQk w - - 0 1", "d3", "d5",
         -800},
    };
    for (const auto& c : casos) {
        auto t = tableroDesdeFEN(c.fen);
        EXPECT_EQ(SEE(*t, cs(c.hasta), cs(c.desde), colorPieza(t->piezas[cs(c.desde)])), c.valor)
            << c.fen;
    }
}

} // namespace
