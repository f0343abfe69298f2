#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "apoyo/consistencia.h"
#include "apoyo/tablero_prueba.h"

namespace {

using namespace ayuda;

const char* const Inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string Reyes = "4k3/8/8/8/8/8/8/4K3 ";

TEST(Tablero, LecturaDeFEN) {
    const struct {
        std::string fen;
        bool blancas;
        int32_t enroque, alPaso, regla50;
    } casos[] = {
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", false, 15, 20, 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", true, 0, 64, 0},
        {Reyes + "w qkQK - 0 1", true, 15, 64, 0},
        {Reyes + "W - - 0 1", false, 0, 64, 0},
        {Reyes + "w - - 7 40", true, 0, 64, 7},
        {Reyes + "w - - 12abc 1", true, 0, 64, 12},
        {"  " + Reyes + "   b   -  E3  ", false, 0, 20, 0},
        {Reyes + "w - h6x 0 1", true, 0, 47, 0},
        // The clock keeps room for a full history of makes on either side of the 32-bit range.
        {Reyes + "w - - 2147483647 1", true, 0, 64, 2147483647 - CapacidadHistorial},
        {Reyes + "w - - -2147483648 1", true, 0, 64, -2147483647 + CapacidadHistorial},
    };
    for (const auto& c : casos) {
        auto t = tableroDesdeFEN(c.fen);
        EXPECT_EQ(inconsistencia(*t), "") << c.fen;
        EXPECT_EQ(std::make_tuple(t->ladoQueMueve, t->derechosEnroque, t->casillaAlPaso,
                                  t->movidasRegla50),
                  std::make_tuple(c.blancas, c.enroque, c.alPaso, c.regla50))
            << c.fen;
    }
    // En-passant fields that do not start with a square are ignored.
    for (const char* campo : {"z9", "e", "e9", "i6", "E0", "-5", "-e3", "ee", "99", "\xff\xfe"})
        EXPECT_EQ(tableroDesdeFEN(Reyes + "w - " + campo + " 0 1")->casillaAlPaso, CasillaNula);
    // Set-up empties the history and keeps a missing king's old square.
    auto t = tableroDesdeFEN(Reyes + "w - - 0 1");
    t->hacerMovimiento(textoAMovimiento(*t, "e1e2"));
    establecerPosicion(*t, PosicionFEN("8/8/8/8/8/8/8/k7 b - - 0 1"));
    EXPECT_EQ(t->numHistorial, 0);
    EXPECT_EQ(t->casillaRey[Blanco], cs("e2"));
    // Ranks below a1 place nothing.
    EXPECT_EQ(tableroDesdeFEN("8/8/8/8/8/8/8/8/8/8/rrrr/k7/K7 w - - 0 1")->ocupadas(), 0u);
}

// Random bytes, and random placements with plausible fields: set-up never fails and always
// leaves a consistent board without history.
TEST(Tablero, FuzzFEN) {
    std::mt19937 azar(7);
    auto t = tableroDesdeFEN(Inicial);
    const std::string alfabeto = "pnbrqkPNBRQK12345678/0 9-wbKQkqxz";
    const char* const alPaso[] = {"z9", "e", "i3", "-", "e3", "h8", "A1", "", "99"};
    for (int i = 0; i < 4000; ++i) {
        std::string texto;
        for (int k = static_cast<int>(azar() % 201); k > 0; --k)
            texto += i % 2 ? alfabeto[azar() % alfabeto.size()] : static_cast<char>(azar());
        if (i % 2)
            texto += std::string(azar() % 2 ? " w" : " b") + " KQkq " + alPaso[azar() % 9] + " " +
                     std::to_string(azar() % 200) + " 1";
        EXPECT_TRUE(establecerPosicion(*t, PosicionFEN(texto)));
        ASSERT_EQ(inconsistencia(*t), "") << "[" << texto << "]";
        ASSERT_EQ(t->numHistorial, 0);
    }
}

// Each line of moves is made with the board checked after every make; the result must equal,
// field by field, the position set up from its FEN text.
TEST(Tablero, HacerMovimientos) {
    const struct {
        const char *fen, *jugadas, *resultado;
    } casos[] = {
        // The en-passant square is set only with a black piece, of any kind, beside the pawn.
        {Inicial, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
        {"rnbqkbnr/pppppppp/8/8/5q2/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3", "e2e4",
         "rnbqkbnr/pppppppp/8/8/4Pq2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
        {"rnbqkbnr/pppppppp/8/8/3N4/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4",
         "rnbqkbnr/pppppppp/8/8/3NP3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
        // A piece beside the pawn across the board's edge does not count.
        {"4k3/8/8/p7/8/8/7P/4K3 w - - 0 1", "h2h4", "4k3/8/8/p7/7P/8/8/4K3 b - - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 3 10", "e8g8 e1c1", "r4rk1/8/8/8/8/8/8/2KR3R b - - 5 1"},
        // A rook leaving its corner and coming back has lost its right.
        {"r3k2r/8/8/8/8/8/6q1/R3K2R w KQkq - 0 1", "a1a2 h8h7 a2a1 h7h8",
         "r3k2r/8/8/8/8/8/6q1/R3K2R w Kq - 4 1"},
        // Double steps with and without en-passant square, captures, en passant, promotion
        // with capture, both castlings, king and queen captures.
        {Inicial,
         "e2e4 d7d5 e4d5 c7c5 d5c6 g8f6 c6b7 e7e6 b7a8q f8e7 g1f3 e8g8 f1e2 c8b7 e1g1 b7a8 d2d4 "
         "f6e4 f1e1 e4f2 g1f2 d8d4 f3d4",
         "bn3rk1/p3bppp/4p3/8/3N4/8/PPP1BKPP/RNBQR3 b - - 0 12"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.jugadas);
        auto t = tableroDesdeFEN(caso.fen);
        std::istringstream jugadas(caso.jugadas);
        for (std::string texto; jugadas >> texto;) {
            const Movimiento m = textoAMovimiento(*t, texto);
            ASSERT_NE(m, MovimientoNulo) << texto;
            t->hacerMovimiento(m);
            ASSERT_EQ(inconsistencia(*t), "") << texto;
        }
        auto esperado = tableroDesdeFEN(caso.resultado);
        esperado->numHistorial = t->numHistorial;
        EXPECT_EQ(diferencia(*t, *esperado), "");
    }
}

// A null move clears the en-passant square but keeps its part of the key, so a real move on top
// gives the key of the uncomplemented side with both the null and the old en-passant parts.
TEST(Tablero, MovimientoNulo) {
    auto t = tableroDesdeFEN("rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 5");
    const Tablero antes = *t;
    t->hacerMovimientoNulo();
    EXPECT_EQ(std::make_tuple(t->ladoQueMueve, t->casillaAlPaso, t->movidasRegla50, t->hashKey),
              std::make_tuple(true, CasillaNula, 1, antes.hashKey ^ ZobristNulo));
    EXPECT_EQ(inconsistencia(*t, false), "");
    t->hacerMovimiento(textoAMovimiento(*t, "g1f3"));
    EXPECT_EQ(t->hashKey, ~(calcularHashKey(*t) ^ ZobristNulo ^ ZobristAlPaso[cs("e3")]));
    t->deshacerMovimiento();
    t->deshacerMovimientoNulo();
    EXPECT_EQ(diferencia(*t, antes), "");
}

TEST(Tablero, HistorialLlenoFallaRuidosamente) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto t = tableroDesdeFEN(Inicial);
    for (int i = 0; i < CapacidadHistorial; ++i) t->hacerMovimientoNulo();
    EXPECT_DEATH(t->hacerMovimientoNulo(), "Historial lleno");
    EXPECT_DEATH(t->hacerMovimiento(crearMovimiento(6, 21, CaballoBlanco)), "Historial lleno");
}

} // namespace
