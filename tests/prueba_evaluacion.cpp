#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "apoyo/tablero_prueba.h"
#include "evaluacion/evaluacion.h"
#include "generacion/jaques.h"

namespace {

using namespace ayuda;

int32_t evaluarFEN(const std::string& fen) {
    return evaluar(*tableroDesdeFEN(fen));
}

// Scores of placements for White to move; Black to move gets the negated score.
TEST(Evaluacion, Ejemplos) {
    const std::pair<const char*, int32_t> casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0},
        // The bishop pair needs exactly two bishops, of whatever square colour.
        {"4k3/8/8/8/8/8/8/2B1KB2", 700 + 30 - 2 - 2},
        {"4k3/8/8/8/8/3B4/8/2B1KB2", 1050 - 2 - 2 + 5},
        // d1 gets the doubled bonus because d4 is still ahead of it in the walk.
        {"4k3/8/8/8/3R4/8/8/3RK3", 1000 + (15 + 18 + 6) + (15 + 6)},
        {"4k3/8/8/8/3R4/8/3P4/3RK3", 1100 + 2 * (12 + 6)},
        // Half-open only without an enemy pawn on the file, whatever own pawns stand there.
        {"4k3/8/8/p7/8/8/P7/R3K3", 600 - 100 - 3},
    };
    for (const auto& [colocacion, valor] : casos) {
        EXPECT_EQ(evaluarFEN(std::string(colocacion) + " w - - 0 1"), valor) << colocacion;
        EXPECT_EQ(evaluarFEN(std::string(colocacion) + " b - - 0 1"), -valor) << colocacion;
    }
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

// Random games from positions rich in pins, checks, promotions and rook files; `visitar` sees
// each position before its move is drawn.
template <typename Visita> void recorrerPartidas(Visita visitar) {
    const char* const inicios[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "3r3r/R6R/8/8/8/8/r6r/3R3R b - - 0 1",
        "6k1/3R4/3R4/3R4/8/8/3r4/K7 b - - 0 1",
    };
    std::mt19937 azar(20240611);
    for (const char* inicio : inicios)
        for (int partida = 0; partida < 6; ++partida) {
            auto t = tableroDesdeFEN(inicio);
            for (int jugada = 0; jugada < 120; ++jugada) {
                visitar(*t);
                const Movimientos validas = legales(*t);
                if (validas.empty()) break;
                t->hacerMovimiento(validas[azar() % validas.size()]);
            }
        }
}

// The board scores as its own FEN set up afresh and as its colour-mirrored twin.
TEST(Evaluacion, EspejoDeColores) {
    recorrerPartidas([](const Tablero& t) {
        const int32_t valor = evaluar(t);
        ASSERT_EQ(valor, evaluarFEN(fenDe(t, false))) << fenDe(t, false);
        ASSERT_EQ(valor, evaluarFEN(fenDe(t, true))) << fenDe(t, false);
    });
}

// In positions of play, out of check, what the search tells of a plain move before making it
// (legal, gives check, the change of the evaluation) is what making it shows.
TEST(Evaluacion, PrevisionSinHacer) {
    recorrerPartidas([](Tablero& t) {
        if (!posicionOrdinaria(t) || enJaque(t)) return;
        const int32_t antes = evaluar(t);
        const Bitboard riesgo = casillasDeRiesgo(t, t.colorQueMueve());
        Jaques jaques;
        prepararJaques(jaques, t);
        for (Movimiento m : generar(t, PseudoLegales)) {
            if (!esMovimientoSencillo(m)) continue;
            const bool legal = legalSinHacer(t, m, riesgo);
            const int32_t cambio = cambioEvaluacion(t, m);
            const bool jaque = daJaque(jaques, m);
            t.hacerMovimiento(m);
            const std::string donde = fenDe(t, false) + " tras " + movimientoATexto(m);
            EXPECT_EQ(legal, !dejaReyEnJaque(t)) << donde;
            if (legal) {
                EXPECT_EQ(-evaluar(t), antes + cambio) << donde;
                EXPECT_EQ(jaque, enJaque(t)) << donde;
            }
            t.deshacerMovimiento();
        }
    });
}

// Every piece on every square it can stand on, the kings in corners: one sum pins each entry of
// the piece-square tables and the terms of a lone rook.
TEST(Evaluacion, CadaPiezaEnCadaCasilla) {
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/8 w - - 0 1");
    int64_t suma = 0;
    for (int32_t p = PeonBlanco; p <= ReyBlanco; p += 2)
        for (Casilla s = p == PeonBlanco ? 8 : 0; s < (p == PeonBlanco ? 56 : 64); ++s) {
            std::fill(t->piezas, t->piezas + 64, Vacio);
            if (p != ReyBlanco) t->piezas[s == 0 ? 7 : 0] = ReyBlanco;
            t->piezas[s == 63 ? 56 : 63] = ReyNegro;
            t->piezas[s] = p;
            suma += evaluarFEN(fenDe(*t, false));
        }
    EXPECT_EQ(suma, 135680);
}

} // namespace
