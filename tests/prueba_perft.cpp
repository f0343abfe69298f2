#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "apoyo/referencia_movimientos.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/consistencia.h"
#include "tablero/fen.h"

namespace {

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

uint64_t perftDesde(const std::string& fen, int profundidad) {
    auto t = tableroDesdeFEN(fen);
    return perft(*t, profundidad);
}

uint64_t perftReferencia(const std::string& fen, int profundidad) {
    auto t = tableroDesdeFEN(fen);
    return referencia::perft(referencia::desdeTablero(*t), profundidad);
}

TEST(Perft, CuentasCompletas) {
    EXPECT_EQ(perftDesde(Prueba1, 4), 4085603u);
    EXPECT_EQ(perftDesde(Prueba5, 5), 674624u);
    EXPECT_EQ(perftDesde(Prueba2, 2), 279u);
}

TEST(Perft, PosicionInicialProfundidad5) {
    auto t = tableroDesdeFEN(Inicial);
    const auto inicio = std::chrono::steady_clock::now();
    const uint64_t nodos = perft(*t, 5);
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    EXPECT_EQ(nodos, 4865609u);
    std::printf("perft(5) inicial: %llu nodos en %.3f s (%.1f M nodos/s)\n",
                static_cast<unsigned long long>(nodos), segundos, nodos / segundos / 1e6);
}

// The slow counter must itself reproduce well-known counts before it may judge the others.
TEST(Perft, ContadorLentoReproduceCuentasConocidas) {
    EXPECT_EQ(perftReferencia(Inicial, 3), 8902u);
    EXPECT_EQ(perftReferencia(Prueba1, 2), 2039u);
    EXPECT_EQ(perftReferencia(Prueba5, 3), 2812u);
    EXPECT_EQ(perftReferencia(Prueba2, 2), 279u);
}

TEST(Perft, PosicionesConAlPasoCoincidenConContadorLento) {
    for (const char* fen : {Prueba3, Prueba4}) {
        SCOPED_TRACE(fen);
        for (int profundidad = 1; profundidad <= 4; ++profundidad) {
            SCOPED_TRACE(profundidad);
            EXPECT_EQ(perftDesde(fen, profundidad), perftReferencia(fen, profundidad));
        }
    }
}

// Walks the tree checking the board after every make and unmake, the evasion generator at
// every node in check, movimientoValido against the generated list, and optionally the
// legal moves against the slow generator.
class Recorrido {
  public:
    Recorrido(int profundidad, bool conReferencia)
        : profundidad_(profundidad), conReferencia_(conReferencia), anteriores_(profundidad + 1) {
        for (int i = 0; i <= profundidad; ++i)
            copias_.push_back(std::make_unique<Tablero>(nullptr));
    }

    void visitar(Tablero& t, int ply = 0) {
        if (::testing::Test::HasFatalFailure() || fallos_ > 0) return;
        ++nodos_;
        const std::vector<Movimiento> pseudo = ayuda::pseudoLegales(t);
        comprobarValidez(t, pseudo, ply);

        Tablero& antes = *copias_[ply];
        antes = t;
        std::vector<Movimiento> legales;
        std::string motivo;
        for (Movimiento m : pseudo) {
            t.hacerMovimiento(m);
            if (!tableroConsistente(t, &motivo))
                return fallar("tras hacer " + movimientoATexto(m) + ": " + motivo);
            if (!dejaReyEnJaque(t)) {
                legales.push_back(m);
                if (ply + 1 < profundidad_) visitar(t, ply + 1);
            }
            t.deshacerMovimiento();
            if (!tablerosIguales(t, antes, &motivo))
                return fallar("tras deshacer " + movimientoATexto(m) + ": " + motivo);
        }

        if (enJaque(t)) {
            ++nodosEnJaque_;
            const std::vector<Movimiento> evasiones = ayuda::evasiones(t);
            if (ayuda::ordenados(evasiones) != ayuda::ordenados(legales))
                return fallar("evasiones distintas de las jugadas legales");
            for (Movimiento m : evasiones) {
                t.hacerMovimiento(m);
                const bool jaque = dejaReyEnJaque(t);
                t.deshacerMovimiento();
                if (jaque) return fallar("evasion deja el rey atacado: " + movimientoATexto(m));
            }
        }
        if (conReferencia_ && ayuda::textosOrdenados(legales) !=
                                  referencia::textosLegales(referencia::desdeTablero(t)))
            return fallar("jugadas legales distintas del generador lento");
    }

    uint64_t nodos() const { return nodos_; }
    uint64_t nodosEnJaque() const { return nodosEnJaque_; }

  private:
    // Every generated word is valid here; a word generated at the previous node of this ply
    // (same side to move) is valid exactly when the generators produce it here too.
    void comprobarValidez(const Tablero& t, const std::vector<Movimiento>& pseudo, int ply) {
        for (Movimiento m : pseudo)
            if (!movimientoValido(t, m))
                return fallar("generada pero no valida: " + movimientoATexto(m));
        for (Movimiento m : anteriores_[ply]) {
            const bool generada = std::find(pseudo.begin(), pseudo.end(), m) != pseudo.end();
            if (movimientoValido(t, m) != generada)
                return fallar("movimientoValido discrepa en " + movimientoATexto(m));
        }
        anteriores_[ply] = pseudo;
    }

    void fallar(const std::string& texto) {
        if (fallos_++ == 0) ADD_FAILURE() << texto;
    }

    int profundidad_;
    bool conReferencia_;
    std::vector<std::unique_ptr<Tablero>> copias_;
    std::vector<std::vector<Movimiento>> anteriores_;
    uint64_t nodos_ = 0;
    uint64_t nodosEnJaque_ = 0;
    int fallos_ = 0;
};

struct CasoRecorrido {
    const char* fen;
    int profundidad;
};

TEST(Perft, RecorridoConComprobacionesPorNodo) {
    const CasoRecorrido casos[] = {{Inicial, 4}, {Prueba1, 4}, {Prueba2, 4},
                                   {Prueba3, 5}, {Prueba4, 4}, {Prueba5, 5}};
    uint64_t enJaque = 0;
    for (const CasoRecorrido& caso : casos) {
        SCOPED_TRACE(caso.fen);
        auto t = tableroDesdeFEN(caso.fen);
        Recorrido recorrido(caso.profundidad, false);
        recorrido.visitar(*t);
        enJaque += recorrido.nodosEnJaque();
    }
    // The trees must actually exercise the evasion generator.
    EXPECT_GT(enJaque, 1000u);
}

TEST(Perft, JugadasLegalesCoincidenConGeneradorLento) {
    for (const char* fen : {Inicial, Prueba1, Prueba2, Prueba3, Prueba4, Prueba5}) {
        SCOPED_TRACE(fen);
        auto t = tableroDesdeFEN(fen);
        Recorrido recorrido(3, true);
        recorrido.visitar(*t);
        EXPECT_GT(recorrido.nodos(), 100u);
    }
}

} // namespace
