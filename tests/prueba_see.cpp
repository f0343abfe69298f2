#include <gtest/gtest.h>

#include <string>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "generacion/see.h"

namespace {

using ayuda::cs;

TEST(SEE, Ejemplos) {
    const struct {
        const char *fen, *desde, *hasta;
        int32_t valor;
    } casos[] = {
        {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4", "d5", 300},
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
        {"4k3/8/5n2/3p4/2B5/1B6/8/4K3 w - - 0 1", "c4", "d5", 100},
        // A slider of the other side behind the capturer joins too.
        {"4k3/8/8/3p4/8/8/3R3K/3r4 w - - 0 1", "d2", "d5", -400},
        // The king's recapture counts 0, with or without a rook to follow.
        {"8/8/3k4/4n3/3P4/8/8/4R1K1 w - - 0 1", "d4", "e5", 200},
        {"8/8/3k4/4n3/3P4/8/8/6K1 w - - 0 1", "d4", "e5", 200},
        {"4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1", "d5", "e6", 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "b1", "c3", 0},
        {"4k3/8/8/2p5/8/2N5/8/4K3 w - - 0 1", "c3", "d4", -300},
        // A pushed pawn is taken as standing on the target; the rook behind it then joins.
        {"4k3/8/8/8/3p4/8/4P3/6K1 w - - 0 1", "e2", "e3", -100},
        {"4k3/8/8/8/3p4/8/4P3/4R1K1 w - - 0 1", "e2", "e3", 0},
        {"4k3/8/8/3p4/8/8/4P3/4K3 w - - 0 1", "e2", "e4", -100},
    };
    for (const auto& c : casos) {
        auto t = tableroDesdeFEN(c.fen);
        EXPECT_EQ(SEE(*t, cs(c.hasta), cs(c.desde), colorPieza(t->piezas[cs(c.desde)])), c.valor)
            << c.fen;
    }
}

TEST(SEE, MuchasPiezasSobreUnaCasilla) {
    // More attackers than a real game can have; every value stays within the material at stake.
    auto t = tableroDesdeFEN("nQQQQQkQ/Q6Q/Q6Q/Q4Q1Q/Q6Q/Q2Q3Q/QQ5Q/K1QQQ1QQ w - - 0 1");
    for (Movimiento m : ayuda::generar(*t, ayuda::Capturas)) {
        const int32_t v = SEE(*t, hastaDe(m), desdeDe(m), colorMovimiento(m));
        EXPECT_TRUE(v >= -900 && v <= 900) << v;
    }
    t = tableroDesdeFEN(
        "qqqqqqqq/qqqqqqqq/qqq1qqqq/3p4/qqq1qqqq/QQQQQQQQ/QQQQQQQQ/QQQKQQQk w - - 0 1");
    const int32_t v = SEE(*t, cs("d5"), cs("d3"), Blanco);
    EXPECT_TRUE(v >= -900 && v <= 100) << v;
}

} // namespace
