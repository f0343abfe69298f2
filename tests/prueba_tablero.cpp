#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/consistencia.h"
#include "apoyo/posiciones.h"
#include "generacion/lista_movimientos.h"
#include "tablero/fen.h"
#include "tablero/zobrist.h"

namespace {

constexpr const char* Inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

Movimiento mov(const Tablero& t, const std::string& texto) {
    const Movimiento m = textoAMovimiento(t, texto);
    EXPECT_NE(m, MovimientoNulo) << texto;
    return m;
}

TEST(Tablero, ConstruccionYTextos) {
    prepararTablasGlobales();
    Tablero t(nullptr);
    EXPECT_TRUE(tableroConsistente(t));
    EXPECT_TRUE(tablerosIguales(t, *tableroDesdeFEN(Inicial)));
    EXPECT_STREQ(FenPosicionInicial, Inicial);
    // The piece units (pawns and kings count none) that decide on the null move.
    EXPECT_EQ(t.valorPiezas[Blanco], 31);
    EXPECT_EQ(t.valorPiezas[Negro], 31);

    for (Casilla c = 0; c < 64; ++c) EXPECT_EQ(textoACasilla(nombreCasilla(c)), c);
    EXPECT_EQ(nombreCasilla(7) + nombreCasilla(56), "h1a8");
    EXPECT_EQ(textoACasilla("E3"), 20);
    EXPECT_EQ(movimientoATexto(0), "xxxx");
    EXPECT_EQ(movimientoATexto(EnroqueE1G1) + movimientoATexto(EnroqueE1C1) +
                  movimientoATexto(EnroqueE8G8) + movimientoATexto(EnroqueE8C8),
              "e1g1e1c1e8g8e8c8");
    EXPECT_EQ(movimientoATexto(crearMovimiento(9, 1, PeonNegro, Vacio, CaballoNegro)), "b2b1n");
    EXPECT_EQ(movimientoATexto(crearAlPaso(36, 43, PeonBlanco, PeonNegro)), "e5d6");
    EXPECT_EQ(letraPieza(Vacio) + letraPieza(ReyNegro) + letraPieza(CaballoBlanco), ".kN");
}

TEST(Tablero, ClavesZobrist) {
    auto blancas = tableroDesdeFEN(Inicial);
    auto negras = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(negras->hashKey, ~blancas->hashKey);
    EXPECT_EQ(tableroDesdeFEN(Inicial)->hashKey, blancas->hashKey);
    auto conAlPaso = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    auto sinAlPaso = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(conAlPaso->hashKey ^ sinAlPaso->hashKey, ZobristAlPaso[20]);
    EXPECT_NE(ZobristAlPaso[20], 0u);
    EXPECT_EQ(ZobristAlPaso[64], 0u);

    // The keys come from the seeded C generator in a fixed draw order.
    std::srand(0xB1A7);
    const uint64_t r1 = std::rand() & 0x7FFF, r2 = std::rand() & 0x7FFF, r3 = std::rand() & 0x7FFF,
                   r4 = std::rand() & 0x7FFF, r5 = std::rand();
    EXPECT_EQ(ZobristPieza[0][0], (r5 << 60) ^ (r4 << 45) ^ (r3 << 30) ^ (r2 << 15) ^ r1);
    EXPECT_EQ(aleatorio64(), ZobristPieza[0][1]);
    for (int i = 2; i < 14 * 64; ++i) aleatorio64();
    EXPECT_EQ(aleatorio64(), ZobristEnroque[0]);
    for (int i = 1; i < 16; ++i) aleatorio64();
    EXPECT_EQ(aleatorio64(), ZobristAlPaso[0]);
}

TEST(Tablero, MovimientoNuloYSuDeshacer) {
    auto t = tableroDesdeFEN("rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 5");
    const Tablero antes = *t;
    t->hacerMovimientoNulo();
    EXPECT_TRUE(t->ladoQueMueve);
    EXPECT_EQ(t->casillaAlPaso, 64);
    EXPECT_EQ(t->movidasRegla50, 1);
    EXPECT_EQ(t->numHistorial, 1);
    EXPECT_EQ(t->hashKey, antes.hashKey ^ ZobristNulo);
    std::string motivo;
    EXPECT_TRUE(tableroConsistente(*t, &motivo, false)) << motivo;
    // A real move on top keeps the null part, the old en-passant part and the uncomplemented
    // side.
    const Tablero trasNulo = *t;
    t->hacerMovimiento(mov(*t, "g1f3"));
    EXPECT_EQ(t->hashKey, ~(calcularHashKey(*t) ^ ZobristNulo ^ ZobristAlPaso[20]));
    t->deshacerMovimiento();
    EXPECT_TRUE(tablerosIguales(*t, trasNulo, &motivo)) << motivo;
    t->deshacerMovimientoNulo();
    EXPECT_TRUE(tablerosIguales(*t, antes, &motivo)) << motivo;
}

TEST(Tablero, EjemplosFEN) {
    const struct {
        const char* fen;
        bool blancas;
        int32_t enroque, alPaso, regla50;
    } casos[] = {
        {"8/8/8/8/8/8/8/8 w - - 0 1", true, 0, 64, 0},
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", false, 15, 20, 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", true, 0, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 w qkQK - 0 1", true, 15, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 w Kk - 0 1", true, 3, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 w xQ- - 0 1", true, 4, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 W - - 0 1", false, 0, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 white - - 0 1", false, 0, 64, 0},
        {"4k3/8/8/8/8/8/8/4K3 w - - 7 40", true, 0, 64, 7},
        {"4k3/8/8/8/8/8/8/4K3 w - - 12abc 1", true, 0, 64, 12},
        {"4k3/8/8/8/8/8/8/4K3 w - - abc 1", true, 0, 64, 0},
        {"  4k3/8/8/8/8/8/8/4K3    b   -  E3  ", false, 0, 20, 0},
        {"4k3/8/8/8/8/8/8/4K3 w - h6x 0 1", true, 0, 47, 0},
    };
    for (const auto& caso : casos) {
        auto t = tableroDesdeFEN(caso.fen);
        EXPECT_TRUE(tableroConsistente(*t)) << caso.fen;
        EXPECT_EQ(t->ladoQueMueve, caso.blancas) << caso.fen;
        EXPECT_EQ(t->derechosEnroque, caso.enroque) << caso.fen;
        EXPECT_EQ(t->casillaAlPaso, caso.alPaso) << caso.fen;
        EXPECT_EQ(t->movidasRegla50, caso.regla50) << caso.fen;
    }
    // En-passant fields that do not start with a square are ignored.
    for (std::string fen : {"z9", "e", "e9", "i6", "E0", "-5", "-e3", "ee", "99", "\xff\xfe"}) {
        fen = "4k3/8/8/8/8/8/8/4K3 w - " + fen + " 0 1";
        EXPECT_EQ(tableroDesdeFEN(fen)->casillaAlPaso, CasillaNula) << fen;
    }
    PosicionFEN registro("4k3/8/8/8/8/8/8/4K3 w - - 3 xyz extra campos");
    EXPECT_TRUE(registro.valida);
    EXPECT_EQ(registro.numeroJugada, 1);
    EXPECT_EQ(registro.fen, "4k3/8/8/8/8/8/8/4K3 w - - 3 xyz extra campos");
    EXPECT_EQ(PosicionFEN("8/8/8/8/8/8/8/8 w - - 0 33").numeroJugada, 33);

    // Set-up empties the history and keeps a missing king's old square; of two kings the
    // last one counts.
    auto t = tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    t->hacerMovimiento(mov(*t, "e1e2"));
    EXPECT_TRUE(establecerPosicion(*t, PosicionFEN("8/8/8/8/8/8/8/k7 b - - 0 1")));
    EXPECT_EQ(t->numHistorial, 0);
    EXPECT_EQ(t->casillaRey[Blanco], 12);
    EXPECT_EQ(t->casillaRey[Negro], 0);
    EXPECT_EQ(tableroDesdeFEN("K6K/8/8/8/8/8/8/8 w - - 0 1")->casillaRey[Blanco], 63);
    // Ranks below a1 place nothing.
    EXPECT_EQ(tableroDesdeFEN("8/8/8/8/8/8/8/8/8/8/rrrr/k7/K7 w - - 0 1")->ocupadas(), 0u);
    EXPECT_EQ(tableroDesdeFEN("////////////kK w - - 0 1")->ocupadas(), 0u);
}

TEST(Tablero, FuzzFEN) {
    std::mt19937 azar(7);
    auto t = tableroDesdeFEN(Inicial);
    const std::string alfabeto = "pnbrqkPNBRQK12345678/0 9-wbKQkqxz";
    const std::vector<std::string> alPaso = {"z9", "e", "i3", "-", "e3", "h8", "A1", "", "99"};
    std::string motivo;
    for (int i = 0; i < 4000; ++i) {
        std::string texto;
        const int largo = static_cast<int>(azar() % 201);
        if (i % 2 == 0) {
            for (int k = 0; k < largo; ++k) texto += static_cast<char>(azar() % 256);
        } else {
            for (int k = 0; k < largo; ++k) texto += alfabeto[azar() % alfabeto.size()];
            texto += std::string(" ") + (azar() % 2 ? "w" : "b") + " KQkq " +
                     alPaso[azar() % alPaso.size()] + " " + std::to_string(int(azar() % 200)) +
                     " 1";
        }
        EXPECT_TRUE(establecerPosicion(*t, PosicionFEN(texto)));
        ASSERT_TRUE(tableroConsistente(*t, &motivo)) << motivo << " en [" << texto << "]";
        ASSERT_EQ(t->numHistorial, 0);
    }
}

// Each line of moves is made with the board checked after every make (key included), the
// result compared field by field with the position set up from its FEN text, and the moves
// taken back one by one, from a copy of the board, each unmake restoring every field.
TEST(Tablero, HacerYDeshacer) {
    const struct {
        const char* fen;
        const char* jugadas;
        const char* resultado;
    } casos[] = {
        // The en-passant square is set only with a black piece, of any kind, beside the pawn.
        {Inicial, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
        {"rnbqkbnr/pppppppp/8/8/3n4/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3", "e2e4",
         "rnbqkbnr/pppppppp/8/8/3nP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
        {"rnbqkbnr/pppppppp/8/8/5q2/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3", "e2e4",
         "rnbqkbnr/pppppppp/8/8/4Pq2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
        {"rnbqkbnr/pppppppp/8/8/3N4/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4",
         "rnbqkbnr/pppppppp/8/8/3NP3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
        {"4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5 e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "d4e3", "4k3/8/8/8/8/4p3/8/4K3 w - - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 10", "e1g1 e8c8", "2kr3r/8/8/8/8/8/8/R4RK1 w - - 5 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 3 10", "e8g8 e1c1", "r4rk1/8/8/8/8/8/8/2KR3R b - - 5 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 10", "e1f1", "r3k2r/8/8/8/8/8/8/R4K1R b kq - 4 1"},
        // Captures on a rook's corner clear that right; leaving a1 and coming back clears 4.
        {"r3k2r/8/8/8/8/8/6q1/R3K2R w KQkq - 0 1", "a1a8", "R3k2r/8/8/8/8/8/6q1/4K2R b Kk - 0 1"},
        {"r3k2r/8/8/8/8/8/6q1/R3K2R b KQkq - 0 1", "g2h1", "r3k2r/8/8/8/8/8/8/R3K2q w Qkq - 0 1"},
        {"r3k2r/8/8/8/8/8/6q1/R3K2R w KQkq - 0 1", "a1a2 h8h7 a2a1 h7h8",
         "r3k2r/8/8/8/8/8/6q1/R3K2R w Kq - 4 1"},
        {"4r2k/3P4/8/8/8/8/8/4K3 w - - 9 40", "d7e8q", "4Q2k/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1", "b2b1n", "4k3/8/8/8/8/8/8/Rn2K3 w Q - 0 1"},
        {"4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1", "b2a1q", "4k3/8/8/8/8/8/8/q3K3 w - - 0 1"},
        // Double steps with and without en-passant square, captures, en passant, promotion
        // with capture, both castlings, king and queen captures.
        {Inicial,
         "e2e4 d7d5 e4d5 c7c5 d5c6 g8f6 c6b7 e7e6 b7a8q f8e7 g1f3 e8g8 f1e2 c8b7 e1g1 b7a8 d2d4 "
         "f6e4 f1e1 e4f2 g1f2 d8d4 f3d4",
         "bn3rk1/p3bppp/4p3/8/3N4/8/PPP1BKPP/RNBQR3 b - - 0 12"},
    };
    std::string motivo;
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.jugadas);
        auto t = tableroDesdeFEN(caso.fen);
        std::vector<std::unique_ptr<Tablero>> antes;
        std::istringstream jugadas(caso.jugadas);
        for (std::string texto; jugadas >> texto;) {
            antes.push_back(std::make_unique<Tablero>(*t));
            t->hacerMovimiento(mov(*t, texto));
            ASSERT_TRUE(tableroConsistente(*t, &motivo)) << texto << ": " << motivo;
        }
        auto esperado = tableroDesdeFEN(caso.resultado);
        esperado->numHistorial = static_cast<int32_t>(antes.size());
        EXPECT_TRUE(tablerosIguales(*t, *esperado, &motivo)) << motivo;
        auto copia = std::make_unique<Tablero>(*t);
        for (; !antes.empty(); antes.pop_back()) {
            copia->deshacerMovimiento();
            EXPECT_TRUE(tablerosIguales(*copia, *antes.back(), &motivo)) << motivo;
        }
    }
}

TEST(Tablero, HistorialLlenoFallaRuidosamente) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto t = tableroDesdeFEN(Inicial);
    for (int i = 0; i < CapacidadHistorial; ++i) t->hacerMovimientoNulo();
    EXPECT_DEATH(t->hacerMovimientoNulo(), "Historial lleno");
    EXPECT_DEATH(t->hacerMovimiento(crearMovimiento(6, 21, CaballoBlanco)), "Historial lleno");
    for (int i = 0; i < CapacidadHistorial; ++i) t->deshacerMovimientoNulo();
    EXPECT_TRUE(tablerosIguales(*t, *tableroDesdeFEN(Inicial)));
}

} // namespace
