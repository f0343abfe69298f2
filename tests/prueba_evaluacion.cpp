#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "evaluacion/evaluacion.h"

namespace {

int32_t evaluarFEN(const std::string& fen) {
    return evaluar(*tableroDesdeFEN(fen));
}

// FEN text of a board, or of its colour-mirrored twin: ranks reversed, colours, side to move
// and castling rights swapped, en-passant square on the mirrored rank.
std::string fenDe(const Tablero& t, bool espejo) {
    std::string fen;
    for (int i = 0; i < 8; ++i) {
        int vacias = 0;
        for (int columna = 0; columna < 8; ++columna) {
            const char c = ".PpNnBbRrQqKk"[t.piezas[casillaDe(columna, espejo ? i : 7 - i)]];
            if (c == '.') {
                ++vacias;
                continue;
            }
            if (vacias) fen += static_cast<char>('0' + vacias);
            vacias = 0;
            fen +=
                espejo ? static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c)) : c;
        }
        if (vacias) fen += static_cast<char>('0' + vacias);
        if (i < 7) fen += '/';
    }
    fen += t.ladoQueMueve != espejo ? " w " : " b ";
    const int bits[4] = {1, 4, 2, 8}, pareja[4] = {2, 8, 1, 4};
    std::string enroque;
    for (int i = 0; i < 4; ++i)
        if (t.derechosEnroque & (espejo ? pareja[i] : bits[i])) enroque += "KQkq"[i];
    fen += (enroque.empty() ? "-" : enroque) + " ";
    if (t.casillaAlPaso == CasillaNula) {
        fen += '-';
    } else {
        fen += static_cast<char>('a' + columnaDe(t.casillaAlPaso));
        fen += static_cast<char>('1' +
                                 (espejo ? 7 - filaDe(t.casillaAlPaso) : filaDe(t.casillaAlPaso)));
    }
    return fen + " " + std::to_string(t.movidasRegla50) + " 1";
}

// Scores of placements for White to move; Black to move gets the negated score.
TEST(Evaluacion, Ejemplos) {
    const std::pair<const char*, int32_t> casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0},
        // Kings only: the difference of their table entries.
        {"6k1/8/8/8/8/8/8/6K1", 0},
        {"4k3/8/8/8/4K3/8/8/8", -13},
        {"8/8/8/8/8/1k6/8/1K6", 35},
        // The queen table differs between ranks 4 and 5 on the edge files, so it shows whether
        // a black piece reads its square through the mirror.
        {"4k3/8/8/Q7/8/8/8/4K3", 898},
        {"4k3/8/8/8/Q7/8/8/4K3", 890},
        {"4k3/8/8/q7/8/8/8/4K3", -890},
        {"4k3/8/8/8/q7/8/8/4K3", -898},
        {"4k3/8/8/4N3/8/8/8/1n2K3", 22},
        {"4k3/3P4/8/8/8/8/6p1/4K3", 6},
        {"4k3/8/8/8/8/2P5/8/4K3", 108},
        // The bishop pair needs exactly two bishops, of whatever square colour.
        {"4k3/8/8/8/8/8/8/2B1KB2", 700 + 30 - 2 - 2},
        {"4k3/8/8/8/8/3B4/8/2B1KB2", 1050 - 2 - 2 + 5},
        {"4k3/8/8/8/8/4B3/8/2B1K3", 700 + 30 - 2 + 5},
        {"2b1k3/8/4b3/8/8/8/8/4K3", -(700 + 30 - 2 + 5)},
        {"4k3/8/8/8/8/8/8/2B1K3", 350 - 2},
        {"4k3/R7/8/8/8/8/8/4K3", 500 + 30 + 5},
        {"4k3/8/8/8/8/8/R7/4K3", 500 + 5},
        {"4k3/8/8/8/8/8/7r/4K3", -(500 + 30 + 5)},
        {"4k3/7r/8/8/8/8/8/4K3", -(500 + 5)},
        // d1 gets the doubled bonus because d4 is still ahead of it in the walk.
        {"4k3/8/8/8/3R4/8/8/3RK3", 1000 + (15 + 18 + 6) + (15 + 6)},
        {"3rk3/8/8/3r4/8/8/8/4K3", -(1000 + (15 + 18 + 6) + (15 + 6))},
        {"4k3/8/3R4/8/3R4/8/8/3RK3", 1500 + 3 * (15 + 6) + 2 * 18},
        {"4k3/8/8/8/2R5/8/8/3RK3", 1000 + (15 + 6) + (10 + 4)},
        {"4k3/8/8/8/3R4/8/3P4/3RK3", 1100 + 2 * (12 + 6)},
        {"3rk3/8/8/8/8/8/8/3RK3", 0},
        // Half-open only without an enemy pawn on the file, whatever own pawns stand there.
        {"4k3/8/8/8/8/8/P7/R3K3", 600 + 3},
        {"4k3/8/8/8/8/P7/P7/R3K3", 700 + 3},
        {"4k3/8/8/p7/8/8/P7/R3K3", 600 - 100 - 3},
        {"4k3/8/8/p7/8/8/8/R3K3", 500 - 100 - 3},
        {"r3k3/p7/8/8/8/8/8/4K3", -(600 + 3)},
        {"r3k3/p7/8/8/8/8/P7/4K3", -500},
        // A check changes nothing: the rook on a1 checks, on a3 it does not.
        {"4k3/8/8/8/8/8/8/r3K3", -505},
        {"4k3/8/8/8/8/r7/8/4K3", -505},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(evaluarFEN(std::string(caso.first) + " w - - 0 1"), caso.second) << caso.first;
        EXPECT_EQ(evaluarFEN(std::string(caso.first) + " b - - 0 1"), -caso.second) << caso.first;
    }
    // Fool's mate against the queen moved to f4: only its square term differs.
    EXPECT_EQ(evaluarFEN("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"),
              evaluarFEN("rnb1kbnr/pppp1ppp/8/4p3/5qP1/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3") +
                  TablaDama[Espejo[casillaDe(5, 3)]] - TablaDama[Espejo[casillaDe(7, 3)]]);
}

// Over positions reached by random legal moves, the board scores as its own FEN set up afresh
// and as its colour-mirrored twin.
TEST(Evaluacion, EspejoDeColores) {
    EXPECT_EQ(fenDe(*tableroDesdeFEN("r3k2r/8/8/3pP3/8/8/8/R3K1R1 w Qkq d6 0 1"), true),
              "r3k1r1/8/8/8/3Pp3/8/8/R3K2R b KQq d3 0 1");
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
