#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "apoyo/consistencia.h"
#include "apoyo/tablero_prueba.h"
#include "generacion/conteo.h"
#include "generacion/perft.h"

namespace {

using namespace ayuda;

// Tests 3 and 4 were first counted by an independent brute-force generator.
const struct {
    const char* fen;
    int profundidad;
    uint64_t nodos;
    int recorrido; // depth of the walk with checks at every node
} Casos[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, 4865609, 4},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4, 4085603, 4},
    {"8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1", 2, 279, 4},
    {"8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1", 4, 67197, 5},
    {"rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1", 4, 351806, 4},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 674624, 5},
};

// The engine's own count, legality shortcut included.
TEST(Perft, Cuentas) {
    std::vector<ListaMovimientos> listas(8);
    for (const auto& caso : Casos) {
        nodosPerft = 0;
        contarPerft(*tableroDesdeFEN(caso.fen), listas.data(), caso.profundidad, 1);
        EXPECT_EQ(nodosPerft, caso.nodos) << caso.fen;
    }
}

// Walks the tree checking at every node: each generated move is valid there, and one generated
// at the previous node of the same ply is valid exactly when generated here too; after each make
// the board matches its recomputation and each unmake restores every field; a move the legality
// shortcut makes untested leaves the king safe; in check the evasions are the legal moves.
struct Recorrido {
    std::vector<std::unique_ptr<Tablero>> copias;
    std::vector<Movimientos> anteriores;
    uint64_t nodosEnJaque = 0;
    std::string fallo;

    explicit Recorrido(int profundidad) : anteriores(profundidad) {
        for (int i = 0; i < profundidad; ++i) copias.push_back(std::make_unique<Tablero>(nullptr));
    }

    void visitar(Tablero& t, int ply = 0) {
        const Movimientos pseudo = generar(t, PseudoLegales);
        for (Movimiento m : pseudo)
            if (!movimientoValido(t, m)) fallo = "generada no valida " + movimientoATexto(m);
        for (Movimiento m : anteriores[ply])
            if (movimientoValido(t, m) != std::count(pseudo.begin(), pseudo.end(), m))
                fallo = "movimientoValido discrepa en " + movimientoATexto(m);
        anteriores[ply] = pseudo;
        if (!fallo.empty()) return;

        Tablero& antes = *copias[ply];
        antes = t;
        Movimientos legales;
        const Bitboard riesgo = casillasDeRiesgo(t, t.colorQueMueve());
        for (Movimiento m : pseudo) {
            t.hacerMovimiento(m);
            fallo = inconsistencia(t);
            if (!puedeExponerRey(m, riesgo) && dejaReyEnJaque(t)) fallo += "riesgo";
            if (!dejaReyEnJaque(t)) {
                legales.push_back(m);
                if (fallo.empty() && ply + 1 < static_cast<int>(copias.size())) visitar(t, ply + 1);
            }
            t.deshacerMovimiento();
            if (fallo.empty()) fallo = diferencia(t, antes);
            if (!fallo.empty()) {
                fallo = movimientoATexto(m) + ": " + fallo;
                return;
            }
        }
        if (!enJaque(t)) return;
        ++nodosEnJaque;
        if (ordenados(generar(t, Evasiones)) != ordenados(legales)) fallo = "evasiones";
    }
};

TEST(Perft, RecorridoConComprobacionesPorNodo) {
    uint64_t enJaque = 0;
    for (const auto& caso : Casos) {
        Recorrido recorrido(caso.recorrido);
        recorrido.visitar(*tableroDesdeFEN(caso.fen));
        EXPECT_EQ(recorrido.fallo, "") << caso.fen;
        enJaque += recorrido.nodosEnJaque;
    }
    EXPECT_GT(enJaque, 1000u);
}

// The last ply's count from target sets against the moves that pass make and test, at every
// node of short walks, with the board left as it was. Besides the test positions: promotions
// with castling and en passant at hand, a king in the corner facing the other, a pawn that
// takes en passant along the diagonal it is pinned on, and set-ups no game reaches: no king,
// several kings, kings side by side, a king left in check for the other side to take, pawns on
// the last ranks, an en-passant square that holds a piece, and queens with more pseudo-legal
// moves than a move list holds.
struct ComparacionDeConteos {
    std::vector<std::unique_ptr<Tablero>> copias;
    std::string fallo;

    explicit ComparacionDeConteos(int profundidad) {
        for (int i = 0; i < profundidad; ++i) copias.push_back(std::make_unique<Tablero>(nullptr));
    }

    void visitar(Tablero& t, int ply = 0) {
        Tablero& antes = *copias[ply];
        antes = t;
        const Movimientos legales = ayuda::legales(t);
        ListaMovimientos lista{};
        const uint32_t contadas = contarJugadasLegales(t, lista);
        if (contadas != legales.size())
            fallo =
                "contadas " + std::to_string(contadas) + " de " + std::to_string(legales.size());
        else if (!diferencia(t, antes).empty())
            fallo = "el tablero cambia: " + diferencia(t, antes);
        if (!fallo.empty() || ply + 1 == static_cast<int>(copias.size())) return;
        for (Movimiento m : legales) {
            t.hacerMovimiento(m);
            visitar(t, ply + 1);
            t.deshacerMovimiento();
            if (!fallo.empty()) {
                fallo = movimientoATexto(m) + " " + fallo;
                return;
            }
        }
    }
};

TEST(Perft, ConteoDelUltimoPlyIgualAHacerYProbar) {
    for (const auto& caso : Casos) {
        ComparacionDeConteos comparacion(3);
        comparacion.visitar(*tableroDesdeFEN(caso.fen));
        EXPECT_EQ(comparacion.fallo, "") << caso.fen;
    }
    const std::pair<const char*, int> casos[] = {
        {"r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1", 3},
        {"7k/8/6K1/8/8/8/8/8 w - - 0 1", 3},
        {"4k3/2b5/8/3pP3/8/8/7K/8 w - d6 0 1", 2},
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", 3},
        {"K6K/8/8/3q4/8/8/8/k6k w - - 0 1", 3},
        {"8/8/8/3kK3/8/8/8/8 w - - 0 1", 3},
        {"4k3/8/8/8/8/8/4R3/4K3 w - - 0 1", 3},
        {"P3k2p/8/8/8/8/8/8/p3K2P w - - 0 1", 3},
        {"4k3/8/8/8/3pP3/4q3/8/4K3 b - e3 0 1", 3},
        {"BQQQkQQB/Q6Q/Q6Q/Q6Q/Q3Q2Q/Q6Q/Q6Q/BQQQKQQn w - - 0 1", 2},
    };
    for (const auto& [fen, profundidad] : casos) {
        ComparacionDeConteos comparacion(profundidad);
        comparacion.visitar(*tableroDesdeFEN(fen));
        EXPECT_EQ(comparacion.fallo, "") << fen;
    }
}

} // namespace
