#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/consistencia.h"
#include "apoyo/posiciones.h"
#include "generacion/conteo.h"

namespace {

using ayuda::Movimientos;

const char* const Inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char* const Prueba1 = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
const char* const Prueba2 = "8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1";
const char* const Prueba3 = "8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1";
const char* const Prueba4 = "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1";
const char* const Prueba5 = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";

// Make, test the mover's king, unmake: the pattern every caller of the generators uses.
uint64_t perft(Tablero& t, int profundidad) {
    ListaMovimientos lista;
    lista.cantidad = 0;
    generarCapturas(lista, t);
    generarTranquilos(lista, t);
    uint64_t nodos = 0;
    for (int i = 0; i < lista.cantidad; ++i) {
        t.hacerMovimiento(lista.movimientos[i]);
        if (!dejaReyEnJaque(t)) nodos += profundidad == 1 ? 1 : perft(t, profundidad - 1);
        t.deshacerMovimiento();
    }
    return nodos;
}

// Tests 3 and 4 were first counted by an independent brute-force generator.
TEST(Perft, Cuentas) {
    const struct {
        const char* fen;
        int profundidad;
        uint64_t nodos;
    } casos[] = {{Inicial, 5, 4865609}, {Prueba1, 4, 4085603}, {Prueba2, 2, 279},
                 {Prueba3, 4, 67197},   {Prueba4, 4, 351806},  {Prueba5, 5, 674624}};
    for (const auto& caso : casos)
        EXPECT_EQ(perft(*tableroDesdeFEN(caso.fen), caso.profundidad), caso.nodos) << caso.fen;
}

// Walks a tree checking the board after every make (key included) and unmake, the evasion
// generator at every node in check, movimientoValido against the generated list, and that every
// move the legality shortcut lets through leaves the king safe.
struct Recorrido {
    std::vector<std::unique_ptr<Tablero>> copias;
    std::vector<Movimientos> anteriores;
    uint64_t nodosEnJaque = 0;
    std::string fallo;

    explicit Recorrido(int profundidad) : anteriores(profundidad) {
        for (int i = 0; i < profundidad; ++i) copias.push_back(std::make_unique<Tablero>(nullptr));
    }

    void visitar(Tablero& t, int ply = 0) {
        if (!fallo.empty()) return;
        const Movimientos pseudo = ayuda::generar(t, ayuda::PseudoLegales);
        // A word generated at the previous node of this ply is valid here exactly when the
        // generators produce it here too.
        for (Movimiento m : pseudo)
            if (!movimientoValido(t, m)) fallo = "generada no valida " + movimientoATexto(m);
        for (Movimiento m : anteriores[ply])
            if (movimientoValido(t, m) != std::count(pseudo.begin(), pseudo.end(), m))
                fallo = "movimientoValido discrepa en " + movimientoATexto(m);
        anteriores[ply] = pseudo;

        Tablero& antes = *copias[ply];
        antes = t;
        Movimientos legales;
        std::string motivo;
        const Bitboard riesgo = casillasDeRiesgo(t, t.colorQueMueve());
        for (Movimiento m : pseudo) {
            t.hacerMovimiento(m);
            if (!tableroConsistente(t, &motivo)) fallo = "hacer " + movimientoATexto(m) + motivo;
            if (!puedeExponerRey(m, riesgo) && dejaReyEnJaque(t))
                fallo = "riesgo no detectado " + movimientoATexto(m);
            if (!dejaReyEnJaque(t)) {
                legales.push_back(m);
                if (ply + 1 < static_cast<int>(copias.size())) visitar(t, ply + 1);
            }
            t.deshacerMovimiento();
            if (!tablerosIguales(t, antes, &motivo))
                fallo = "deshacer " + movimientoATexto(m) + motivo;
            if (!fallo.empty()) return;
        }
        if (!enJaque(t)) return;
        ++nodosEnJaque;
        // Equal sorted lists: each legal move once, and nothing that leaves the king attacked.
        if (ayuda::ordenados(ayuda::generar(t, ayuda::Evasiones)) != ayuda::ordenados(legales))
            fallo = "evasiones distintas de las jugadas legales";
    }
};

TEST(Perft, RecorridoConComprobacionesPorNodo) {
    const std::pair<const char*, int> casos[] = {{Inicial, 4}, {Prueba1, 4}, {Prueba2, 4},
                                                 {Prueba3, 5}, {Prueba4, 4}, {Prueba5, 5}};
    uint64_t enJaque = 0;
    for (const auto& caso : casos) {
        auto t = tableroDesdeFEN(caso.first);
        Recorrido recorrido(caso.second);
        recorrido.visitar(*t);
        EXPECT_EQ(recorrido.fallo, "") << caso.first;
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
        std::string motivo;
        if (contadas != legales.size())
            fallo =
                "contadas " + std::to_string(contadas) + " de " + std::to_string(legales.size());
        else if (!tablerosIguales(t, antes, &motivo))
            fallo = "el tablero cambia" + motivo;
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
    const std::pair<const char*, int> casos[] = {
        {Inicial, 3},
        {Prueba1, 4},
        {Prueba2, 3},
        {Prueba3, 4},
        {Prueba4, 3},
        {Prueba5, 4},
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
