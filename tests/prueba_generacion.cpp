#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/posiciones.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/consistencia.h"

namespace {

using Textos = std::vector<std::string>;

constexpr Casilla cs(const char* n) {
    return (n[0] - 'a') + 8 * (n[1] - '1');
}
constexpr Bitboard bit(const char* n) {
    return Bitboard{1} << cs(n);
}

Textos capturas(const std::string& fen) {
    auto t = tableroDesdeFEN(fen);
    return ayuda::textos(ayuda::capturas(*t));
}
Textos tranquilos(const std::string& fen) {
    auto t = tableroDesdeFEN(fen);
    return ayuda::textos(ayuda::tranquilos(*t));
}
bool contiene(const Textos& lista, const std::string& texto) {
    return std::find(lista.begin(), lista.end(), texto) != lista.end();
}

// ---- Generation order ----

TEST(OrdenGeneracion, PosicionInicial) {
    const char* fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_TRUE(capturas(fen).empty());
    const Textos esperado = {"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "b2b3", "c2c3",
                             "d2d3", "e2e3", "f2f3", "g2g3", "h2h3", "a2a4", "b2b4",
                             "c2c4", "d2d4", "e2e4", "f2f4", "g2g4", "h2h4"};
    EXPECT_EQ(tranquilos(fen), esperado);
}

TEST(OrdenGeneracion, PromocionEmpujandoAntesQueCapturando) {
    auto t = tableroDesdeFEN("r6k/1P6/8/8/8/8/8/K7 w - - 0 1");
    const std::vector<Movimiento> movs = ayuda::capturas(*t);
    const Textos esperado = {"b7b8q", "b7b8n", "b7b8r", "b7b8b",
                             "b7a8q", "b7a8n", "b7a8r", "b7a8b"};
    ASSERT_EQ(ayuda::textos(movs), esperado);
    EXPECT_EQ(movs[0], crearMovimiento(cs("b7"), cs("b8"), PeonBlanco, Vacio, DamaBlanca));
    EXPECT_EQ(movs[5], crearMovimiento(cs("b7"), cs("a8"), PeonBlanco, TorreNegra, CaballoBlanco));
}

// Every kind of capture in one position: knight, king, rooks and queens, bishops and queens,
// push promotions, en passant, then pawn captures toward file a and toward file h.
TEST(OrdenGeneracion, CapturasYTranquilosPorTipoDePieza) {
    const char* fen = "r6k/1P6/8/2pP4/1b2n3/2N5/4Q3/R3K3 w - c6 0 1";
    const Textos esperadasCapturas = {"c3e4",  "a1a8", "e2e4",  "b7b8q", "b7b8n", "b7b8r",
                                      "b7b8b", "d5c6", "b7a8q", "b7a8n", "b7a8r", "b7a8b"};
    EXPECT_EQ(capturas(fen), esperadasCapturas);
    const Textos esperadosTranquilos = {
        "c3b1", "c3d1", "c3a2", "c3a4", "c3b5", "e1d1", "e1f1", "e1d2", "e1f2",
        "a1b1", "a1c1", "a1d1", "a1a2", "a1a3", "a1a4", "a1a5", "a1a6", "a1a7",
        "e2a2", "e2b2", "e2c2", "e2d2", "e2f2", "e2g2", "e2h2", "e2e3", "e2d1",
        "e2f1", "e2d3", "e2f3", "e2c4", "e2g4", "e2b5", "e2h5", "e2a6", "d5d6"};
    EXPECT_EQ(tranquilos(fen), esperadosTranquilos);
}

TEST(OrdenGeneracion, PeonesNegros) {
    const char* fen = "4k3/8/8/8/3pPp2/8/6p1/4K2R b - e3 0 1";
    const Textos esperadasCapturas = {"g2g1q", "g2g1n", "g2g1r", "g2g1b", "d4e3",
                                      "f4e3",  "g2h1q", "g2h1n", "g2h1r", "g2h1b"};
    EXPECT_EQ(capturas(fen), esperadasCapturas);
    const Textos esperadosTranquilos = {"e8d7", "e8e7", "e8f7", "e8d8", "e8f8", "d4d3", "f4f3"};
    EXPECT_EQ(tranquilos(fen), esperadosTranquilos);
}

TEST(OrdenGeneracion, AlPasoDesdeLaDerechaPrimero) {
    auto t = tableroDesdeFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1");
    const std::vector<Movimiento> movs = ayuda::capturas(*t);
    ASSERT_EQ(ayuda::textos(movs), (Textos{"f5e6", "d5e6"}));
    EXPECT_EQ(movs[0], crearAlPaso(cs("f5"), cs("e6"), PeonBlanco, PeonNegro));
    EXPECT_EQ(movs[1], crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro));
}

TEST(OrdenGeneracion, Enroques) {
    // b1 occupied: no long castling; g1 attacked: short castling is still generated.
    Textos movs = tranquilos("r3k1r1/8/8/8/8/8/8/RN2K2R w KQq - 0 1");
    EXPECT_TRUE(contiene(movs, "e1g1"));
    EXPECT_FALSE(contiene(movs, "e1c1"));
    // b1 attacked but empty does not matter; d1 attacked does.
    movs = tranquilos("1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    EXPECT_TRUE(contiene(movs, "e1c1"));
    movs = tranquilos("3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    EXPECT_FALSE(contiene(movs, "e1c1"));
    EXPECT_TRUE(contiene(movs, "e1g1"));
    // In check: neither.
    movs = tranquilos("4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    EXPECT_FALSE(contiene(movs, "e1c1"));
    EXPECT_FALSE(contiene(movs, "e1g1"));
    // Short before long, for black too, each as its fixed word.
    auto t = tableroDesdeFEN("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1");
    const std::vector<Movimiento> negras = ayuda::tranquilos(*t);
    const auto corto = std::find(negras.begin(), negras.end(), EnroqueE8G8);
    const auto largo = std::find(negras.begin(), negras.end(), EnroqueE8C8);
    ASSERT_NE(corto, negras.end());
    ASSERT_NE(largo, negras.end());
    EXPECT_LT(corto, largo);
}

TEST(OrdenGeneracion, PeonEnSeptimaSinTranquilos) {
    const char* fen = "4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
    for (const std::string& m : tranquilos(fen)) EXPECT_NE(m.substr(0, 2), "a7") << m;
    EXPECT_EQ(capturas(fen), (Textos{"a7a8q", "a7a8n", "a7a8r", "a7a8b"}));
}

// ---- Positions that only text set-up can produce ----

TEST(GeneracionRobusta, PeonesEnFilasExtremas) {
    // A white pawn on rank 8 and a black one on rank 1 have nowhere to go.
    Textos todas = capturas("P3k3/8/8/8/8/8/8/p3K3 w - - 0 1");
    for (const std::string& m : tranquilos("P3k3/8/8/8/8/8/8/p3K3 w - - 0 1")) todas.push_back(m);
    for (const std::string& m : todas) EXPECT_NE(m.substr(0, 2), "a8") << m;
    todas = capturas("P3k3/8/8/8/8/8/8/p3K3 b - - 0 1");
    for (const std::string& m : tranquilos("P3k3/8/8/8/8/8/8/p3K3 b - - 0 1")) todas.push_back(m);
    for (const std::string& m : todas) EXPECT_NE(m.substr(0, 2), "a1") << m;
    // A white pawn on rank 1 steps once and never twice.
    const Textos movs = tranquilos("4k3/8/8/8/8/8/8/P3K3 w - - 0 1");
    EXPECT_TRUE(contiene(movs, "a1a2"));
    EXPECT_FALSE(contiene(movs, "a1a3"));
}

TEST(GeneracionRobusta, CasillaAlPasoSinSentido) {
    // Wrong rank for the side to move, or no enemy pawn behind: no en-passant capture.
    EXPECT_TRUE(capturas("4k3/8/8/3PpP2/8/8/8/4K3 w - e3 0 1").empty());
    EXPECT_TRUE(capturas("4k3/8/8/3P1P2/8/8/8/4K3 w - e6 0 1").empty());
    EXPECT_TRUE(capturas("4k3/8/8/8/3pPp2/8/8/4K3 b - e6 0 1").empty());
    auto t = tableroDesdeFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1");
    for (int32_t e : {-100, -1, 65, 1000}) {
        t->casillaAlPaso = e;
        EXPECT_TRUE(ayuda::capturas(*t).empty());
        EXPECT_FALSE(movimientoValido(*t, crearAlPaso(cs("f5"), cs("e6"), PeonBlanco, PeonNegro)));
    }
}

TEST(GeneracionRobusta, EnroqueSinReyOTorreEnSuCasilla) {
    for (const char* fen : {"4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1", "4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1",
                            "4k3/8/8/8/8/8/8/B3K2N w KQ - 0 1"}) {
        const Textos movs = tranquilos(fen);
        EXPECT_FALSE(contiene(movs, "e1g1")) << fen;
        EXPECT_FALSE(contiene(movs, "e1c1")) << fen;
    }
    EXPECT_FALSE(
        movimientoValido(*tableroDesdeFEN("4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1"), EnroqueE1G1));
}

TEST(GeneracionRobusta, ReyAusenteOCasillaDeReyFueraDelTablero) {
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_TRUE(ayuda::pseudoLegales(*t).empty());
    EXPECT_TRUE(ayuda::evasiones(*t).empty());
    EXPECT_FALSE(enJaque(*t));

    t = tableroDesdeFEN("4k3/8/8/8/8/8/4P3/R3K2R w KQ - 0 1");
    for (int32_t k : {-7, 64, 99}) {
        t->casillaRey[Blanco] = k;
        t->casillaRey[Negro] = k;
        EXPECT_FALSE(enJaque(*t));
        EXPECT_FALSE(estaClavada(*t, cs("e2"), Blanco));
        for (Movimiento m : ayuda::pseudoLegales(*t)) EXPECT_NE(piezaMovida(m), ReyBlanco);
        EXPECT_TRUE(ayuda::evasiones(*t).empty());
        casillaAtacada(*t, cs("e3"), Negro);
        atacantesCasilla(*t, cs("d2"));
    }
}

TEST(GeneracionRobusta, CapturaDelReyEnPosicionIlegal) {
    auto t = tableroDesdeFEN("4k3/8/8/8/8/8/4R3/4K3 w - - 0 1");
    const std::vector<Movimiento> movs = ayuda::capturas(*t);
    ASSERT_EQ(ayuda::textos(movs), (Textos{"e2e8"}));
    EXPECT_EQ(piezaCapturada(movs[0]), ReyNegro);
    const Tablero antes = *t;
    t->hacerMovimiento(movs[0]);
    t->deshacerMovimiento();
    std::string motivo;
    EXPECT_TRUE(tablerosIguales(*t, antes, &motivo)) << motivo;
    EXPECT_FALSE(movimientoValido(*t, movs[0]));
}

TEST(GeneracionRobusta, ListaLlenaNoSeDesborda) {
    // 8 captures and 251 quiet moves: more than a list holds.
    auto t = tableroDesdeFEN("nQQQQQkQ/Q6Q/Q6Q/Q4Q1Q/Q6Q/Q2Q3Q/QQ5Q/K1QQQ1QQ w - - 0 1");
    ListaMovimientos lista = ayuda::listaVacia(*t);
    generarCapturas(lista, *t);
    EXPECT_EQ(lista.cantidad, 8);
    generarTranquilos(lista, *t);
    EXPECT_EQ(lista.cantidad, CapacidadLista);
    generarEvasiones(lista, *t);
    EXPECT_EQ(lista.cantidad, CapacidadLista);
}

// ---- movimientoValido ----

TEST(MovimientoValido, CasosDePosicion) {
    auto t = tableroDesdeFEN("r3k3/8/8/8/4b3/2N5/4P3/R3K3 w Q - 0 1");
    const Movimiento capturaAlfil = crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, AlfilNegro);
    EXPECT_TRUE(movimientoValido(*t, capturaAlfil));
    // The target holds another piece than recorded, or nothing at all.
    EXPECT_FALSE(
        movimientoValido(*t, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, CaballoNegro)));
    EXPECT_FALSE(
        movimientoValido(*t, crearMovimiento(cs("c3"), cs("d5"), CaballoBlanco, PeonNegro)));
    EXPECT_TRUE(movimientoValido(*t, crearMovimiento(cs("c3"), cs("d5"), CaballoBlanco)));
    // Wrong piece on the square, wrong side, own piece captured, no move.
    EXPECT_FALSE(
        movimientoValido(*t, crearMovimiento(cs("c3"), cs("e4"), AlfilBlanco, AlfilNegro)));
    EXPECT_FALSE(movimientoValido(*t, crearMovimiento(cs("e4"), cs("c2"), AlfilNegro)));
    EXPECT_FALSE(
        movimientoValido(*t, crearMovimiento(cs("c3"), cs("e2"), CaballoBlanco, PeonBlanco)));
    EXPECT_FALSE(movimientoValido(*t, MovimientoNulo));
    // Sliders need a free path.
    EXPECT_TRUE(movimientoValido(*t, crearMovimiento(cs("a1"), cs("a8"), TorreBlanca, TorreNegra)));
    EXPECT_FALSE(movimientoValido(*tableroDesdeFEN("r3k3/8/8/8/8/8/P7/R3K3 w - - 0 1"),
                                  crearMovimiento(cs("a1"), cs("a8"), TorreBlanca, TorreNegra)));
    // Pawn pushes.
    EXPECT_TRUE(movimientoValido(*t, crearMovimiento(cs("e2"), cs("e3"), PeonBlanco)));
    EXPECT_FALSE(movimientoValido(*t, crearMovimiento(cs("e2"), cs("e4"), PeonBlanco)));
    // Long castling: right held and path free; b1 attacked by the bishop does not matter.
    EXPECT_TRUE(movimientoValido(*t, EnroqueE1C1));
    EXPECT_FALSE(movimientoValido(*t, EnroqueE1G1));
}

TEST(MovimientoValido, DoblePasoYEnroqueBloqueados) {
    auto t = tableroDesdeFEN("4k3/8/8/8/8/4n3/4P3/RN2K3 w Q - 0 1");
    EXPECT_FALSE(movimientoValido(*t, crearMovimiento(cs("e2"), cs("e4"), PeonBlanco)));
    EXPECT_FALSE(movimientoValido(*t, EnroqueE1C1));
    t = tableroDesdeFEN("4k3/8/8/8/8/8/4P3/R3K3 w - - 0 1");
    EXPECT_TRUE(movimientoValido(*t, crearMovimiento(cs("e2"), cs("e4"), PeonBlanco)));
    EXPECT_FALSE(movimientoValido(*t, EnroqueE1C1));
}

TEST(MovimientoValido, AlPaso) {
    auto t = tableroDesdeFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1");
    EXPECT_TRUE(movimientoValido(*t, crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro)));
    t = tableroDesdeFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - - 0 1");
    EXPECT_FALSE(movimientoValido(*t, crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro)));
}

// ---- textoAMovimiento ----

TEST(TextoAMovimiento, Coincidencias) {
    auto t = tableroDesdeFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(textoAMovimiento(*t, "e2e4"), 0x170Cu);
    EXPECT_EQ(textoAMovimiento(*t, "e2e5"), 0u);
    EXPECT_EQ(textoAMovimiento(*t, "E2E4"), 0u);
    EXPECT_EQ(textoAMovimiento(*t, ""), 0u);

    t = tableroDesdeFEN("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(textoAMovimiento(*t, "e1g1"), 0x100B184u);
    t = tableroDesdeFEN("4k3/8/8/8/8/8/8/4K2R w - - 0 1");
    EXPECT_EQ(textoAMovimiento(*t, "e1g1"), 0u);

    t = tableroDesdeFEN("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(textoAMovimiento(*t, "a7a8q"),
              crearMovimiento(cs("a7"), cs("a8"), PeonBlanco, Vacio, DamaBlanca));
    EXPECT_EQ(textoAMovimiento(*t, "a7a8Q"), 0u);
    EXPECT_EQ(textoAMovimiento(*t, "a7a8"), 0u);
}

// ---- Attack queries ----

TEST(Ataques, JaqueYBloqueoPropio) {
    EXPECT_FALSE(enJaque(*tableroDesdeFEN("4r2k/8/8/8/8/8/4B3/4K3 w - - 0 1")));
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("4r2k/8/8/8/8/3B4/8/4K3 w - - 0 1")));
    // Adjacent kings: check for either side to move.
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("8/8/8/3kK3/8/8/8/8 w - - 0 1")));
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("8/8/8/3kK3/8/8/8/8 b - - 0 1")));
    // Pawn checks do not wrap around the board edge.
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("7k/8/8/8/8/8/1p6/K7 w - - 0 1")));
    EXPECT_FALSE(enJaque(*tableroDesdeFEN("7k/8/8/8/8/p7/8/7K w - - 0 1")));
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("8/6k1/7P/8/8/8/8/K7 b - - 0 1")));
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("7k/8/8/8/8/8/2n5/K7 w - - 0 1")));
    EXPECT_TRUE(enJaque(*tableroDesdeFEN("7k/8/8/8/8/8/8/K5q1 w - - 0 1")));
}

TEST(Ataques, CasillaAtacadaPorPeon) {
    auto t = tableroDesdeFEN("4k3/8/8/8/3P3P/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(casillaAtacada(*t, cs("c5"), Blanco));
    EXPECT_TRUE(casillaAtacada(*t, cs("e5"), Blanco));
    EXPECT_TRUE(casillaAtacada(*t, cs("g5"), Blanco));
    EXPECT_FALSE(casillaAtacada(*t, cs("d5"), Blanco));
    EXPECT_FALSE(casillaAtacada(*t, cs("a6"), Blanco)); // h4 + 9 wraps
    EXPECT_FALSE(casillaAtacada(*t, cs("c5"), Negro));
}

TEST(Ataques, CasillaAtacadaNoVeDetrasDelRey) {
    // The king on e4 shields e3 from the rook on e8.
    auto t = tableroDesdeFEN("4r2k/8/8/8/4K3/8/8/8 w - - 0 1");
    EXPECT_FALSE(casillaAtacada(*t, cs("e3"), Negro));
    EXPECT_TRUE(casillaAtacada(*t, cs("e5"), Negro));
    EXPECT_TRUE(casillaAtacada(*t, cs("g7"), Negro));
}

TEST(Ataques, AtacantesDeUnaCasilla) {
    auto t = tableroDesdeFEN("7k/8/8/8/R3p2r/3P4/2N5/K7 w - - 0 1");
    const Bitboard entreTorres = atacantesCasilla(*t, cs("c4"));
    EXPECT_EQ(entreTorres, bit("a4") | bit("d3"));
    // The pawn on e4 hides a4 from f4 and does not attack sideways.
    EXPECT_EQ(atacantesCasilla(*t, cs("f4")), bit("h4"));
    EXPECT_EQ(atacantesCasilla(*t, cs("e4")), bit("a4") | bit("h4") | bit("d3"));
    auto u = tableroDesdeFEN("7k/8/8/8/R6r/8/8/K7 w - - 0 1");
    EXPECT_EQ(atacantesCasilla(*u, cs("d4")), bit("a4") | bit("h4"));
    EXPECT_EQ(atacantesCasilla(*u, cs("b2")), bit("a1"));
}

TEST(Ataques, PiezaClavada) {
    auto t = tableroDesdeFEN("4r2k/8/8/8/8/8/4N3/4K3 w - - 0 1");
    EXPECT_TRUE(estaClavada(*t, cs("e2"), Blanco));
    // Another piece between, the wrong slider kind, not on a line with the king.
    EXPECT_FALSE(
        estaClavada(*tableroDesdeFEN("4r2k/8/8/8/8/4N3/4B3/4K3 w - - 0 1"), cs("e3"), Blanco));
    EXPECT_FALSE(
        estaClavada(*tableroDesdeFEN("7k/8/8/8/r7/8/2N5/3K4 w - - 0 1"), cs("c2"), Blanco));
    EXPECT_TRUE(estaClavada(*tableroDesdeFEN("7k/8/8/8/b7/8/2N5/3K4 w - - 0 1"), cs("c2"), Blanco));
    EXPECT_FALSE(estaClavada(*t, cs("f3"), Blanco));
    EXPECT_FALSE(estaClavada(*t, cs("e1"), Blanco));
    // An empty square on the line counts as the piece that would stand there.
    EXPECT_TRUE(estaClavada(*tableroDesdeFEN("4r2k/8/8/8/8/8/8/4K3 w - - 0 1"), cs("e4"), Blanco));
}

} // namespace
