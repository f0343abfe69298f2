#include <gtest/gtest.h>

#include <random>
#include <string>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "evaluacion/evaluacion.h"

namespace {

int32_t evaluarFEN(const std::string& fen) {
    return evaluar(*tableroDesdeFEN(fen));
}

// FEN placement and side to move of a board, or of its colour-mirrored twin (ranks reversed,
// colours and side to move swapped); empty squares are "1"s.
std::string fenDe(const Tablero& t, bool espejo) {
    std::string fen;
    for (Casilla s = 56; s >= 0; s += (s & 7) == 7 ? -15 : 1) {
        fen += (espejo ? "1pPnNbBrRqQkK" : "1PpNnBbRrQqKk")[t.piezas[espejo ? s ^ 56 : s]];
        if ((s & 7) == 7) fen += s == 7 ? ' ' : '/';
    }
    return fen + (t.ladoQueMueve != espejo ? "w - - 0 1" : "b - - 0 1");
}

// Scores of placements for White to move; Black to move gets the negated score.
TEST(Evaluacion, Ejemplos) {
    const std::pair<const char*, int32_t> casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0},
        // Kings only: the difference of their table entries.
        {"4k3/8/8/8/4K3/8/8/8", -13},
        {"8/8/8/8/8/1k6/8/1K6", 35},
        {"4k3/8/8/Q7/8/8/8/4K3", 898},
        {"4k3/8/8/4N3/8/8/8/1n2K3", 22},
        {"4k3/3P4/8/8/8/8/6p1/4K3", 6},
        // The bishop pair needs exactly two bishops, of whatever square colour.
        {"4k3/8/8/8/8/8/8/2B1KB2", 700 + 30 - 2 - 2},
        {"4k3/8/8/8/8/3B4/8/2B1KB2", 1050 - 2 - 2 + 5},
        {"4k3/8/8/8/8/4B3/8/2B1K3", 700 + 30 - 2 + 5},
        {"4k3/8/8/8/8/8/8/2B1K3", 350 - 2},
        {"4k3/R7/8/8/8/8/8/4K3", 500 + 30 + 5},
        {"4k3/8/8/8/8/8/R7/4K3", 500 + 5},
        // d1 gets the doubled bonus because d4 is still ahead of it in the walk.
        {"4k3/8/8/8/3R4/8/8/3RK3", 1000 + (15 + 18 + 6) + (15 + 6)},
        {"4k3/8/3R4/8/3R4/8/8/3RK3", 1500 + 3 * (15 + 6) + 2 * 18},
        {"4k3/8/8/8/2R5/8/8/3RK3", 1000 + (15 + 6) + (10 + 4)},
        {"4k3/8/8/8/3R4/8/3P4/3RK3", 1100 + 2 * (12 + 6)},
        {"3rk3/8/8/8/8/8/8/3RK3", 0},
        // Half-open only without an enemy pawn on the file, whatever own pawns stand there.
        {"4k3/8/8/8/8/8/P7/R3K3", 600 + 3},
        {"4k3/8/8/8/8/P7/P7/R3K3", 700 + 3},
        {"4k3/8/8/p7/8/8/P7/R3K3", 600 - 100 - 3},
        {"4k3/8/8/p7/8/8/8/R3K3", 500 - 100 - 3},
        // A check changes nothing: the rook on a1 checks, on a3 it does not.
        {"4k3/8/8/8/8/8/8/r3K3", -505},
        {"4k3/8/8/8/8/r7/8/4K3", -505},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(evaluarFEN(std::string(caso.first) + " w - - 0 1"), caso.second) << caso.first;
        EXPECT_EQ(evaluarFEN(std::string(caso.first) + " b - - 0 1"), -caso.second) << caso.first;
    }
}

// Over positions reached by random legal moves, the board scores as its own FEN set up afresh
// and as its colour-mirrored twin.
TEST(Evaluacion, EspejoDeColores) {
    const char* const inicios[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R b KQ - 0 9",
        "3r3r/R6R/8/8/8/8/r6r/3R3R b - - 0 1",
        "2bbb3/8/4k3/8/8/3K4/8/2BBB3 w - - 0 1",
        "6k1/3R4/3R4/3R4/8/8/3r4/K7 b - - 0 1",
        "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1",
    };
    std::mt19937 azar(20240611);
    int comparadas = 0;
    for (const char* inicio : inicios) {
        for (int partida = 0; partida < 6; ++partida) {
            auto t = tableroDesdeFEN(inicio);
            for (int jugada = 0; jugada < 120; ++jugada) {
                const int32_t valor = evaluar(*t);
                ASSERT_EQ(valor, evaluarFEN(fenDe(*t, false))) << fenDe(*t, false);
                ASSERT_EQ(valor, evaluarFEN(fenDe(*t, true))) << fenDe(*t, false);
                ++comparadas;
                const ayuda::Movimientos legales = ayuda::legales(*t);
                if (legales.empty()) break;
                t->hacerMovimiento(legales[azar() % legales.size()]);
            }
        }
    }
    EXPECT_GT(comparadas, 3000);
}

} // namespace
