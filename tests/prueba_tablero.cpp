#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "apoyo/posiciones.h"
#include "generacion/tablas.h"
#include "tablero/consistencia.h"
#include "tablero/fen.h"
#include "tablero/movimiento.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"

namespace {

constexpr const char* Inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class PruebaTablero : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { prepararTablasGlobales(); }
};

// Builds the move of a coordinate text from the board alone: the captured piece is read from
// the target square, a pawn moving diagonally onto an empty square captures en passant and a
// king moving two files castles.
Movimiento mov(const Tablero& t, const std::string& texto) {
    const Casilla desde = textoACasilla(texto.substr(0, 2));
    const Casilla hasta = textoACasilla(texto.substr(2, 2));
    const int32_t pieza = t.piezas[desde];
    int32_t promocion = Vacio;
    if (texto.size() > 4) {
        const std::string letras = "nbrq";
        promocion = 3 + 2 * static_cast<int32_t>(letras.find(texto[4])) + colorPieza(pieza);
    }
    if ((pieza == PeonBlanco || pieza == PeonNegro) && (desde & 7) != (hasta & 7) &&
        t.piezas[hasta] == Vacio)
        return crearAlPaso(desde, hasta, pieza, pieza == PeonBlanco ? PeonNegro : PeonBlanco);
    if (texto == "e1g1" && pieza == ReyBlanco) return EnroqueE1G1;
    if (texto == "e1c1" && pieza == ReyBlanco) return EnroqueE1C1;
    if (texto == "e8g8" && pieza == ReyNegro) return EnroqueE8G8;
    if (texto == "e8c8" && pieza == ReyNegro) return EnroqueE8C8;
    return crearMovimiento(desde, hasta, pieza, t.piezas[hasta], promocion);
}

// Makes the move, checks the board, and leaves it made; the snapshot of the board before the
// move is returned for the comparison after the unmake.
std::unique_ptr<Tablero> hacerYComprobar(Tablero& t, Movimiento m) {
    auto antes = std::make_unique<Tablero>(t);
    t.hacerMovimiento(m);
    std::string motivo;
    EXPECT_TRUE(tableroConsistente(t, &motivo)) << movimientoATexto(m) << ": " << motivo;
    EXPECT_EQ(t.numHistorial, antes->numHistorial + 1);
    return antes;
}

void deshacerYComparar(Tablero& t, const Tablero& antes) {
    t.deshacerMovimiento();
    std::string diferencia;
    EXPECT_TRUE(tableroConsistente(t, &diferencia)) << diferencia;
    EXPECT_TRUE(tablerosIguales(t, antes, &diferencia)) << diferencia;
}

// Make, check, unmake, compare; returns a copy of the board as it stood after the move.
std::unique_ptr<Tablero> idaYVuelta(Tablero& t, Movimiento m) {
    auto antes = hacerYComprobar(t, m);
    auto despues = std::make_unique<Tablero>(t);
    deshacerYComparar(t, *antes);
    return despues;
}

TEST_F(PruebaTablero, ConstruccionDejaLaPosicionInicial) {
    Tablero t(nullptr);
    EXPECT_EQ(t.motor, nullptr);
    EXPECT_TRUE(t.ladoQueMueve);
    EXPECT_EQ(t.derechosEnroque, 15);
    EXPECT_EQ(t.casillaAlPaso, 64);
    EXPECT_EQ(t.movidasRegla50, 0);
    EXPECT_EQ(t.numHistorial, 0);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(t.material[c], 4000);
        EXPECT_EQ(t.valorPiezas[c], 31);
        EXPECT_EQ(t.totalPeones[c], 8);
    }
    EXPECT_EQ(t.casillaRey[Blanco], 4);
    EXPECT_EQ(t.casillaRey[Negro], 60);
    EXPECT_EQ(t.piezasBlancas, 0xFFFFull);
    EXPECT_EQ(t.piezasNegras, 0xFFFF000000000000ull);
    EXPECT_EQ(t.bitboardsPieza[PeonNegro], 0x00FF000000000000ull);
    EXPECT_EQ(t.bitboardsPieza[DamaBlanca], 1ull << 3);
    EXPECT_EQ(t.piezas[0], TorreBlanca);
    EXPECT_EQ(t.piezas[60], ReyNegro);
    EXPECT_EQ(t.historial[1023].casillaAlPaso, 64);
    EXPECT_TRUE(t.historial[500].ladoQueMueve);
    EXPECT_TRUE(tableroConsistente(t));
    EXPECT_EQ(t.hashKey, calcularHashKey(t));
}

TEST_F(PruebaTablero, TablasDeMaterial) {
    EXPECT_EQ(ValorMaterial[DamaNegra], 900);
    EXPECT_EQ(ValorMaterial[AlfilBlanco], 350);
    EXPECT_EQ(ValorMaterial[ReyBlanco], 0);
    EXPECT_EQ(ValorPiezas[TorreNegra], 5);
    EXPECT_EQ(ValorPiezas[PeonBlanco], 0);
    EXPECT_EQ(CuentaPeones[PeonNegro], 1);
    EXPECT_EQ(CuentaPeones[CaballoBlanco], 0);
    EXPECT_EQ(ValorMaterial[13], 0);
}

TEST_F(PruebaTablero, DisposicionesRotadas) {
    Tablero t(nullptr);
    EXPECT_EQ(t.Rotado90, 0xC3C3C3C3C3C3C3C3ull);
    EXPECT_EQ(Tablero::aRotado90(1), 1ull << 7);
    EXPECT_EQ(Tablero::aRotado45(1), 1ull << 8);
    EXPECT_EQ(Tablero::aRotado315(1), 1ull << 0);
    EXPECT_EQ(Tablero::aRotado90(1ull << 63), 1ull << 56);
    EXPECT_EQ(Tablero::aRotado45(1ull << 63), 1ull << 63);
    EXPECT_EQ(Tablero::aRotado315(1ull << 63), 1ull << 7);
    // The long diagonals fill the low byte of their layouts.
    EXPECT_EQ(Tablero::aRotado315(0x8040201008040201ull), 0xFFull);
    EXPECT_EQ(Tablero::aRotado45(0x0102040810204080ull), 0xFFull);
    EXPECT_EQ(Tablero::aRotado90(0x0101010101010101ull), 0xFFull);
    EXPECT_EQ(Tablero::aRotado90(~0ull), ~0ull);
}

TEST_F(PruebaTablero, TextosDeCasillasYMovimientos) {
    EXPECT_EQ(nombreCasilla(0), "a1");
    EXPECT_EQ(nombreCasilla(7), "h1");
    EXPECT_EQ(nombreCasilla(56), "a8");
    EXPECT_EQ(nombreCasilla(63), "h8");
    EXPECT_EQ(textoACasilla("E3"), 20);
    EXPECT_EQ(textoACasilla("e3"), 20);
    EXPECT_EQ(textoACasilla("h8"), 63);
    for (Casilla c = 0; c < 64; ++c) EXPECT_EQ(textoACasilla(nombreCasilla(c)), c);
    EXPECT_EQ(movimientoATexto(0), "xxxx");
    EXPECT_EQ(movimientoATexto(EnroqueE1G1), "e1g1");
    EXPECT_EQ(movimientoATexto(EnroqueE1C1), "e1c1");
    EXPECT_EQ(movimientoATexto(EnroqueE8G8), "e8g8");
    EXPECT_EQ(movimientoATexto(EnroqueE8C8), "e8c8");
    EXPECT_EQ(movimientoATexto(crearMovimiento(9, 1, PeonNegro, Vacio, CaballoNegro)), "b2b1n");
    EXPECT_EQ(movimientoATexto(crearMovimiento(51, 60, PeonBlanco, TorreNegra, DamaBlanca)),
              "d7e8q");
    EXPECT_EQ(movimientoATexto(crearAlPaso(36, 43, PeonBlanco, PeonNegro)), "e5d6");
    EXPECT_EQ(letraPieza(Vacio), ".");
    EXPECT_EQ(letraPieza(ReyNegro), "k");
    EXPECT_EQ(letraPieza(CaballoBlanco), "N");
    EXPECT_EQ(std::string(LetrasPiezas), ".PpNnBbRrQqKk");
    EXPECT_EQ(std::string(LetrasPromocion), ".ppnnbbrrqqkk");
}

TEST_F(PruebaTablero, ClavesZobrist) {
    auto blancas = tableroDesdeFEN(Inicial);
    auto negras = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(negras->hashKey, ~blancas->hashKey);
    EXPECT_EQ(tableroDesdeFEN(Inicial)->hashKey, blancas->hashKey);

    auto conAlPaso = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    auto sinAlPaso = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_NE(conAlPaso->hashKey, sinAlPaso->hashKey);
    EXPECT_EQ(conAlPaso->hashKey ^ sinAlPaso->hashKey, ZobristAlPaso[20]);
    EXPECT_EQ(ZobristAlPaso[64], 0u);
    EXPECT_EQ(ZobristNulo, 0xB1A7B1A7B1A7B1A7ull);

    // The keys come from the seeded C generator in a fixed draw order.
    std::srand(0xB1A7);
    EXPECT_EQ(aleatorio64(), ZobristPieza[0][0]);
    EXPECT_EQ(aleatorio64(), ZobristPieza[0][1]);
    for (int i = 2; i < 14 * 64; ++i) aleatorio64();
    EXPECT_EQ(aleatorio64(), ZobristEnroque[0]);
    for (int i = 1; i < 16; ++i) aleatorio64();
    EXPECT_EQ(aleatorio64(), ZobristAlPaso[0]);
    std::srand(0xB1A7);
    const uint64_t r1 = std::rand() & 0x7FFF, r2 = std::rand() & 0x7FFF, r3 = std::rand() & 0x7FFF,
                   r4 = std::rand() & 0x7FFF, r5 = std::rand();
    EXPECT_EQ(ZobristPieza[0][0], (r5 << 60) ^ (r4 << 45) ^ (r3 << 30) ^ (r2 << 15) ^ r1);
}

TEST_F(PruebaTablero, MovimientoNuloYSuDeshacer) {
    auto t = tableroDesdeFEN("rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 5");
    auto antes = std::make_unique<Tablero>(*t);
    t->hacerMovimientoNulo();
    EXPECT_FALSE(t->ladoQueMueve == antes->ladoQueMueve);
    EXPECT_EQ(t->casillaAlPaso, 64);
    EXPECT_EQ(t->movidasRegla50, 1);
    EXPECT_EQ(t->numHistorial, 1);
    EXPECT_EQ(t->hashKey, antes->hashKey ^ ZobristNulo);
    EXPECT_NE(t->hashKey, calcularHashKey(*t));
    std::string motivo;
    EXPECT_TRUE(tableroConsistente(*t, &motivo, false)) << motivo;
    // A real move on top of the null move keeps the null part, the old en-passant part and
    // the uncomplemented side.
    auto trasNulo = std::make_unique<Tablero>(*t);
    t->hacerMovimiento(mov(*t, "g1f3"));
    EXPECT_TRUE(tableroConsistente(*t, &motivo, false)) << motivo;
    EXPECT_EQ(t->hashKey, ~(calcularHashKey(*t) ^ ZobristNulo ^ ZobristAlPaso[20]));
    t->deshacerMovimiento();
    EXPECT_TRUE(tablerosIguales(*t, *trasNulo, &motivo)) << motivo;
    t->deshacerMovimientoNulo();
    EXPECT_TRUE(tablerosIguales(*t, *antes, &motivo)) << motivo;
}

TEST_F(PruebaTablero, EjemplosFEN) {
    auto vacio = tableroDesdeFEN("8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(vacio->ocupadas(), 0u);
    EXPECT_TRUE(vacio->ladoQueMueve);
    EXPECT_EQ(vacio->derechosEnroque, 0);
    EXPECT_EQ(vacio->casillaAlPaso, 64);
    EXPECT_EQ(vacio->material[0] + vacio->material[1], 0);

    auto e4 = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_FALSE(e4->ladoQueMueve);
    EXPECT_EQ(e4->casillaAlPaso, 20);
    EXPECT_EQ(e4->derechosEnroque, 15);
    EXPECT_EQ(e4->piezas[28], PeonBlanco);

    auto soloPiezas = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_TRUE(soloPiezas->ladoQueMueve);
    EXPECT_EQ(soloPiezas->derechosEnroque, 0);
    EXPECT_EQ(soloPiezas->casillaAlPaso, 64);
    EXPECT_EQ(soloPiezas->movidasRegla50, 0);

    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w qkQK - 0 1")->derechosEnroque, 15);
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w Kk - 0 1")->derechosEnroque, 3);
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w xQ- - 0 1")->derechosEnroque, 4);
    EXPECT_FALSE(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 W - - 0 1")->ladoQueMueve);
    EXPECT_FALSE(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 white - - 0 1")->ladoQueMueve);
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - - 7 40")->movidasRegla50, 7);
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - - 12abc 1")->movidasRegla50, 12);
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - - abc 1")->movidasRegla50, 0);
    EXPECT_EQ(tableroDesdeFEN("  4k3/8/8/8/8/8/8/4K3    b   -  E3  ")->casillaAlPaso, 20);

    PosicionFEN registro("4k3/8/8/8/8/8/8/4K3 w - - 3 xyz extra campos");
    EXPECT_TRUE(registro.valida);
    EXPECT_EQ(registro.numeroJugada, 1);
    EXPECT_EQ(registro.movidasRegla50, 3);
    EXPECT_EQ(PosicionFEN("8/8/8/8/8/8/8/8 w - - 0 33").numeroJugada, 33);
    EXPECT_EQ(registro.fen, "4k3/8/8/8/8/8/8/4K3 w - - 3 xyz extra campos");
    EXPECT_EQ(std::string(FenPosicionInicial), Inicial);

    auto t = tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(t->casillaRey[Blanco], 4);
    EXPECT_EQ(t->casillaRey[Negro], 60);
    // Set-up empties the history and keeps a missing king's old square.
    t->hacerMovimiento(mov(*t, "e1e2"));
    EXPECT_TRUE(establecerPosicion(*t, PosicionFEN("8/8/8/8/8/8/8/k7 b - - 0 1")));
    EXPECT_EQ(t->numHistorial, 0);
    EXPECT_EQ(t->casillaRey[Blanco], 12);
    EXPECT_EQ(t->casillaRey[Negro], 0);
    EXPECT_EQ(tableroDesdeFEN("K6K/8/8/8/8/8/8/8 w - - 0 1")->casillaRey[Blanco], 63);
}

TEST_F(PruebaTablero, FENFueraDelTableroSeIgnora) {
    // Ranks running past h8 or below a1 place nothing outside the board.
    auto largo = tableroDesdeFEN(std::string(100, 'Q') + " w - - 0 1");
    EXPECT_EQ(largo->bitboardsPieza[DamaBlanca], 0xFF00000000000000ull);
    auto abajo = tableroDesdeFEN("8/8/8/8/8/8/8/8/8/8/rrrr/k7/K7 w - - 0 1");
    EXPECT_EQ(abajo->ocupadas(), 0u);
    auto atras = tableroDesdeFEN("////////////kK w - - 0 1");
    EXPECT_EQ(atras->ocupadas(), 0u);
    for (const char* campo : {"z9", "e", "i3", "a0", "a9", "33", "-e3", "\xff\xfe"}) {
        auto t = tableroDesdeFEN(std::string("4k3/8/8/8/8/8/8/4K3 w - ") + campo + " 0 1");
        EXPECT_EQ(t->casillaAlPaso, 64) << campo;
        EXPECT_TRUE(tableroConsistente(*t)) << campo;
    }
    EXPECT_EQ(tableroDesdeFEN("4k3/8/8/8/8/8/8/4K3 w - h6x 0 1")->casillaAlPaso, 47);
}

TEST_F(PruebaTablero, FuzzFEN) {
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
        ASSERT_GE(t->casillaAlPaso, 0);
        ASSERT_LE(t->casillaAlPaso, 64);
        ASSERT_GE(t->derechosEnroque, 0);
        ASSERT_LE(t->derechosEnroque, 15);
        ASSERT_EQ(t->numHistorial, 0);
    }
}

TEST_F(PruebaTablero, DoblePasoYCasillaAlPaso) {
    auto t = tableroDesdeFEN(Inicial);
    auto despues = idaYVuelta(*t, mov(*t, "e2e4"));
    EXPECT_EQ(despues->casillaAlPaso, 64);
    EXPECT_EQ(despues->movidasRegla50, 0);
    EXPECT_FALSE(despues->ladoQueMueve);
    EXPECT_EQ(despues->piezas[28], PeonBlanco);
    EXPECT_EQ(despues->piezas[12], Vacio);

    // Any black piece beside the target square sets the square passed over.
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/3n4/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3",
                            "rnbqkbnr/pppppppp/8/8/5q2/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3"}) {
        auto u = tableroDesdeFEN(fen);
        auto conVecino = idaYVuelta(*u, mov(*u, "e2e4"));
        EXPECT_EQ(conVecino->casillaAlPaso, 20);
        EXPECT_EQ(conVecino->movidasRegla50, 0);
        auto sinAlPaso = std::make_unique<Tablero>(*conVecino);
        sinAlPaso->casillaAlPaso = 64;
        EXPECT_EQ(conVecino->hashKey ^ calcularHashKey(*sinAlPaso), ZobristAlPaso[20]);
    }
    // A white piece beside it does not.
    auto propia = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/3N4/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(idaYVuelta(*propia, mov(*propia, "e2e4"))->casillaAlPaso, 64);
    // Black double step beside a white pawn.
    auto negro = tableroDesdeFEN("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(idaYVuelta(*negro, mov(*negro, "d7d5"))->casillaAlPaso, 43);
}

TEST_F(PruebaTablero, Enroques) {
    auto t = tableroDesdeFEN("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 10");
    auto corto = idaYVuelta(*t, EnroqueE1G1);
    EXPECT_EQ(corto->derechosEnroque, 10);
    EXPECT_EQ(corto->piezas[6], ReyBlanco);
    EXPECT_EQ(corto->piezas[5], TorreBlanca);
    EXPECT_EQ(corto->piezas[7], Vacio);
    EXPECT_EQ(corto->piezas[4], Vacio);
    EXPECT_EQ(corto->casillaRey[Blanco], 6);
    EXPECT_EQ(corto->movidasRegla50, 4);
    EXPECT_EQ(corto->bitboardsPieza[TorreBlanca], (1ull << 0) | (1ull << 5));
    EXPECT_EQ(t->piezas[7], TorreBlanca);
    EXPECT_EQ(t->piezas[4], ReyBlanco);
    EXPECT_EQ(t->derechosEnroque, 15);

    auto largo = idaYVuelta(*t, EnroqueE1C1);
    EXPECT_EQ(largo->derechosEnroque, 10);
    EXPECT_EQ(largo->piezas[2], ReyBlanco);
    EXPECT_EQ(largo->piezas[3], TorreBlanca);
    EXPECT_EQ(largo->piezas[0], Vacio);

    auto n = tableroDesdeFEN("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    auto cortoNegro = idaYVuelta(*n, EnroqueE8G8);
    EXPECT_EQ(cortoNegro->derechosEnroque, 5);
    EXPECT_EQ(cortoNegro->piezas[61], TorreNegra);
    EXPECT_EQ(cortoNegro->casillaRey[Negro], 62);
    auto largoNegro = idaYVuelta(*n, EnroqueE8C8);
    EXPECT_EQ(largoNegro->derechosEnroque, 5);
    EXPECT_EQ(largoNegro->piezas[59], TorreNegra);
    EXPECT_EQ(largoNegro->piezas[58], ReyNegro);

    // A plain king step gives up both rights of its side.
    EXPECT_EQ(idaYVuelta(*t, mov(*t, "e1f1"))->derechosEnroque, 10);
    EXPECT_EQ(idaYVuelta(*n, mov(*n, "e8d7"))->derechosEnroque, 5);
}

TEST_F(PruebaTablero, TorresYDerechosDeEnroque) {
    auto t = tableroDesdeFEN("r3k2r/8/8/8/8/8/6q1/R3K2R w KQkq - 0 1");
    // a1xa8: the rook leaves a1 and takes the rook on a8.
    auto captura = idaYVuelta(*t, mov(*t, "a1a8"));
    EXPECT_EQ(captura->derechosEnroque, 3);
    EXPECT_EQ(captura->material[Negro], t->material[Negro] - 500);
    EXPECT_EQ(captura->movidasRegla50, 0);

    auto n = tableroDesdeFEN("r3k2r/8/8/8/8/8/6q1/R3K2R b KQkq - 0 1");
    auto dama = idaYVuelta(*n, mov(*n, "g2h1"));
    EXPECT_EQ(dama->derechosEnroque, 14);
    EXPECT_EQ(dama->material[Blanco], n->material[Blanco] - 500);
    EXPECT_EQ(dama->valorPiezas[Blanco], n->valorPiezas[Blanco] - 5);

    // Leaving a1 clears only right 4, and coming back does not restore it.
    std::vector<std::unique_ptr<Tablero>> antes;
    antes.push_back(hacerYComprobar(*t, mov(*t, "a1a2")));
    EXPECT_EQ(t->derechosEnroque, 11);
    antes.push_back(hacerYComprobar(*t, mov(*t, "h8h7")));
    EXPECT_EQ(t->derechosEnroque, 9);
    antes.push_back(hacerYComprobar(*t, mov(*t, "a2a1")));
    EXPECT_EQ(t->derechosEnroque, 9);
    antes.push_back(hacerYComprobar(*t, mov(*t, "h7h8")));
    EXPECT_EQ(t->derechosEnroque, 9);
    while (!antes.empty()) {
        deshacerYComparar(*t, *antes.back());
        antes.pop_back();
    }
    EXPECT_EQ(t->derechosEnroque, 15);
}

TEST_F(PruebaTablero, PromocionConCaptura) {
    auto t = tableroDesdeFEN("4r2k/3P4/8/8/8/8/8/4K3 w - - 9 40");
    auto d = idaYVuelta(*t, mov(*t, "d7e8q"));
    EXPECT_EQ(d->material[Blanco], t->material[Blanco] + 800);
    EXPECT_EQ(d->valorPiezas[Blanco], t->valorPiezas[Blanco] + 9);
    EXPECT_EQ(d->totalPeones[Blanco], t->totalPeones[Blanco] - 1);
    EXPECT_EQ(d->material[Negro], t->material[Negro] - 500);
    EXPECT_EQ(d->valorPiezas[Negro], t->valorPiezas[Negro] - 5);
    EXPECT_EQ(d->movidasRegla50, 0);
    EXPECT_EQ(d->piezas[60], DamaBlanca);
    EXPECT_EQ(d->bitboardsPieza[PeonBlanco], 0u);
    EXPECT_EQ(d->bitboardsPieza[TorreNegra], 0u);
    EXPECT_EQ(t->piezas[60], TorreNegra);

    auto n = tableroDesdeFEN("4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1");
    for (const char* m : {"b2b1n", "b2b1b", "b2b1r", "b2b1q", "b2a1q", "b2a1n"}) {
        auto p = idaYVuelta(*n, mov(*n, m));
        EXPECT_EQ(p->totalPeones[Negro], 0) << m;
        EXPECT_EQ(p->piezas[textoACasilla(std::string(m).substr(2, 2))], mov(*n, m) >> 20 & 15)
            << m;
    }
    EXPECT_EQ(idaYVuelta(*n, mov(*n, "b2a1q"))->derechosEnroque, 0);
}

TEST_F(PruebaTablero, CapturaAlPaso) {
    auto t = tableroDesdeFEN("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    auto paso = hacerYComprobar(*t, mov(*t, "d7d5"));
    ASSERT_EQ(t->casillaAlPaso, 43);
    auto captura = idaYVuelta(*t, mov(*t, "e5d6"));
    EXPECT_EQ(captura->piezas[35], Vacio);
    EXPECT_EQ(captura->piezas[43], PeonBlanco);
    EXPECT_EQ(captura->totalPeones[Negro], 0);
    EXPECT_EQ(captura->material[Negro], 0);
    EXPECT_EQ(captura->casillaAlPaso, 64);
    EXPECT_TRUE(captura->Rotado90 & (1ull << IndiceRotado90[43]));
    EXPECT_TRUE(captura->Rotado45 & (1ull << IndiceRotado45[43]));
    EXPECT_TRUE(captura->Rotado315 & (1ull << IndiceRotado315[43]));
    EXPECT_FALSE(captura->Rotado90 & (1ull << IndiceRotado90[35]));
    EXPECT_FALSE(captura->Rotado45 & (1ull << IndiceRotado45[35]));
    EXPECT_FALSE(captura->Rotado315 & (1ull << IndiceRotado315[35]));
    deshacerYComparar(*t, *paso);

    auto n = tableroDesdeFEN("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
    auto negro = idaYVuelta(*n, mov(*n, "d4e3"));
    EXPECT_EQ(negro->piezas[28], Vacio);
    EXPECT_EQ(negro->piezas[20], PeonNegro);
    EXPECT_EQ(negro->totalPeones[Blanco], 0);
}

// A game with every kind of move: double steps with and without en-passant square, captures,
// en passant, promotion with capture, both castlings, king and queen captures.
const char* const Partida[] = {"e2e4",  "d7d5", "e4d5", "c7c5", "d5c6", "g8f6", "c6b7", "e7e6",
                               "b7a8q", "f8e7", "g1f3", "e8g8", "f1e2", "c8b7", "e1g1", "b7a8",
                               "d2d4",  "f6e4", "f1e1", "e4f2", "g1f2", "d8d4", "f3d4"};

TEST_F(PruebaTablero, PartidaCompletaYSuVuelta) {
    auto t = tableroDesdeFEN(Inicial);
    std::vector<std::unique_ptr<Tablero>> antes;
    for (const char* texto : Partida) {
        const Movimiento m = mov(*t, texto);
        ASSERT_EQ(movimientoATexto(m), texto);
        antes.push_back(hacerYComprobar(*t, m));
        if (std::string(texto) == "c7c5") {
            EXPECT_EQ(t->casillaAlPaso, 42);
        }
        if (std::string(texto) == "d7d5") {
            EXPECT_EQ(t->casillaAlPaso, 64);
        }
    }
    EXPECT_EQ(t->numHistorial, 23);
    EXPECT_EQ(t->derechosEnroque, 0);
    EXPECT_EQ(t->casillaRey[Blanco], 13);
    EXPECT_EQ(t->casillaRey[Negro], 62);
    EXPECT_EQ(t->bitboardsPieza[DamaNegra], 0u);
    EXPECT_EQ(t->bitboardsPieza[DamaBlanca], 1ull << 3);
    auto directo = tableroDesdeFEN("bn3rk1/p3bppp/4p3/8/3N4/8/PPP1BKPP/RNBQR3 b - - 0 12");
    std::string diferencia;
    EXPECT_EQ(t->hashKey, directo->hashKey);
    directo->numHistorial = t->numHistorial;
    EXPECT_TRUE(tablerosIguales(*t, *directo, &diferencia)) << diferencia;

    // A copy carries the history and can take every move back.
    auto copia = std::make_unique<Tablero>(*t);
    auto inicial = tableroDesdeFEN(Inicial);
    while (copia->numHistorial > 0) copia->deshacerMovimiento();
    EXPECT_TRUE(tablerosIguales(*copia, *inicial, &diferencia)) << diferencia;

    while (!antes.empty()) {
        deshacerYComparar(*t, *antes.back());
        antes.pop_back();
    }
}

TEST_F(PruebaTablero, HistorialLlenoFallaRuidosamente) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto t = tableroDesdeFEN(Inicial);
    for (int i = 0; i < CapacidadHistorial; ++i) t->hacerMovimientoNulo();
    EXPECT_EQ(t->numHistorial, CapacidadHistorial);
    EXPECT_DEATH(t->hacerMovimientoNulo(), "Historial lleno");
    EXPECT_DEATH(t->hacerMovimiento(mov(*t, "g1f3")), "Historial lleno");
    for (int i = 0; i < CapacidadHistorial; ++i) t->deshacerMovimientoNulo();
    EXPECT_TRUE(tablerosIguales(*t, *tableroDesdeFEN(Inicial)));
}

} // namespace
