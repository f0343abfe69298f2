#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/consistencia.h"
#include "apoyo/posiciones.h"

namespace {

using namespace ayuda;

Textos textosDe(const std::string& fen, int cuales) {
    return textos(generar(*tableroDesdeFEN(fen), cuales));
}

Textos palabras(const std::string& texto) {
    std::istringstream entrada(texto);
    Textos resultado;
    for (std::string p; entrada >> p;) resultado.push_back(p);
    return resultado;
}

TEST(Generacion, OrdenDeCapturasYTranquilos) {
    const struct {
        const char* fen;
        const char* capturas;
        const char* tranquilos;
    } casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "",
         "b1a3 b1c3 g1f3 g1h3 a2a3 b2b3 c2c3 d2d3 e2e3 f2f3 g2g3 h2h3 a2a4 b2b4 c2c4 d2d4 e2e4 "
         "f2f4 g2g4 h2h4"},
        {"r6k/1P6/8/8/8/8/8/K7 w - - 0 1", "b7b8q b7b8n b7b8r b7b8b b7a8q b7a8n b7a8r b7a8b",
         nullptr},
        // Knight, king, rooks and queens, bishops and queens, push promotions, en passant,
        // then pawn captures toward file a and toward file h.
        {"r6k/1P6/8/2pP4/1b2n3/2N5/4Q3/R3K3 w - c6 0 1",
         "c3e4 a1a8 e2e4 b7b8q b7b8n b7b8r b7b8b d5c6 b7a8q b7a8n b7a8r b7a8b",
         "c3b1 c3d1 c3a2 c3a4 c3b5 e1d1 e1f1 e1d2 e1f2 a1b1 a1c1 a1d1 a1a2 a1a3 a1a4 a1a5 a1a6 "
         "a1a7 e2a2 e2b2 e2c2 e2d2 e2f2 e2g2 e2h2 e2e3 e2d1 e2f1 e2d3 e2f3 e2c4 e2g4 e2b5 e2h5 "
         "e2a6 d5d6"},
        {"4k3/8/8/8/3pPp2/8/6p1/4K2R b - e3 0 1",
         "g2g1q g2g1n g2g1r g2g1b d4e3 f4e3 g2h1q g2h1n g2h1r g2h1b",
         "e8d7 e8e7 e8f7 e8d8 e8f8 d4d3 f4f3"},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1", "f5e6 d5e6", nullptr},
        // A pawn on rank 7 has no quiet move.
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q a7a8n a7a8r a7a8b", "e1d1 e1f1 e1d2 e1e2 e1f2"},
        // Pawns on the last rank have no move; a white pawn on rank 1 steps once only.
        {"P3k3/8/8/8/8/8/8/p3K3 w - - 0 1", "", "e1d1 e1f1 e1d2 e1e2 e1f2"},
        {"P3k3/8/8/8/8/8/8/p3K3 b - - 0 1", "", "e8d7 e8e7 e8f7 e8d8 e8f8"},
        {"4k3/8/8/8/8/8/8/P3K3 w - - 0 1", "", "e1d1 e1f1 e1d2 e1e2 e1f2 a1a2"},
        // En-passant squares on the wrong rank or with no pawn behind give nothing.
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e3 0 1", "", nullptr},
        {"4k3/8/8/3P1P2/8/8/8/4K3 w - e6 0 1", "", nullptr},
        {"4k3/8/8/8/3pPp2/8/8/4K3 b - e6 0 1", "", nullptr},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(textosDe(caso.fen, Capturas), palabras(caso.capturas)) << caso.fen;
        if (caso.tranquilos) {
            EXPECT_EQ(textosDe(caso.fen, Tranquilos), palabras(caso.tranquilos)) << caso.fen;
        }
    }
    auto t = tableroDesdeFEN("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1");
    EXPECT_EQ(generar(*t, Capturas)[0], crearAlPaso(cs("f5"), cs("e6"), PeonBlanco, PeonNegro));
    for (int32_t e : {-100, -1, 65, 1000}) {
        t->casillaAlPaso = e;
        EXPECT_TRUE(generar(*t, Capturas).empty());
    }
}

TEST(Generacion, Enroques) {
    const struct {
        const char* fen;
        bool corto, largo;
    } casos[] = {
        // b1 occupied: no long castling; g1 attacked: short castling is still generated.
        {"r3k1r1/8/8/8/8/8/8/RN2K2R w KQq - 0 1", true, false},
        // b1 attacked but empty does not matter; d1 attacked does; in check neither.
        {"1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},
        {"3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, false},
        {"4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, false},
        // Rights without the king or the rook on their squares.
        {"4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1", false, false},
        {"4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1", false, false},
        {"4k3/8/8/8/8/8/8/B3K2N w KQ - 0 1", false, false},
    };
    for (const auto& caso : casos) {
        const Textos movs = textosDe(caso.fen, Tranquilos);
        EXPECT_EQ(contiene(movs, "e1g1"), caso.corto) << caso.fen;
        EXPECT_EQ(contiene(movs, "e1c1"), caso.largo) << caso.fen;
    }
    const Movimientos negras =
        generar(*tableroDesdeFEN("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"), Tranquilos);
    const auto corto = std::find(negras.begin(), negras.end(), EnroqueE8G8);
    EXPECT_LT(corto, std::find(negras.begin(), negras.end(), EnroqueE8C8));
    EXPECT_NE(corto, negras.end());
}

TEST(Generacion, PosicionesQueSoloDaElTexto) {
    // No king, or a king square off the board: nothing for the king, no check, no crash.
    auto t = tableroDesdeFEN("8/8/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_TRUE(generar(*t, PseudoLegales | Evasiones).empty());
    EXPECT_FALSE(enJaque(*t));
    t = tableroDesdeFEN("4k3/8/8/8/8/8/4P3/R3K2R w KQ - 0 1");
    for (int32_t k : {-7, 64, 99}) {
        t->casillaRey[Blanco] = t->casillaRey[Negro] = k;
        EXPECT_FALSE(enJaque(*t));
        EXPECT_FALSE(estaClavada(*t, cs("e2"), Blanco));
        for (Movimiento m : generar(*t, PseudoLegales)) EXPECT_NE(piezaMovida(m), ReyBlanco);
        EXPECT_TRUE(generar(*t, Evasiones).empty());
    }
    // A king that can be taken: the move is generated, made and unmade, but never valid.
    t = tableroDesdeFEN("4k3/8/8/8/8/8/4R3/4K3 w - - 0 1");
    const Movimientos movs = generar(*t, Capturas);
    ASSERT_EQ(textos(movs), (Textos{"e2e8"}));
    const Tablero antes = *t;
    t->hacerMovimiento(movs[0]);
    t->deshacerMovimiento();
    EXPECT_TRUE(tablerosIguales(*t, antes));
    EXPECT_FALSE(movimientoValido(*t, movs[0]));
    // 8 captures and 251 quiet moves: more than a list holds.
    t = tableroDesdeFEN("nQQQQQkQ/Q6Q/Q6Q/Q4Q1Q/Q6Q/Q2Q3Q/QQ5Q/K1QQQ1QQ w - - 0 1");
    EXPECT_EQ(generar(*t, Capturas).size(), 8u);
    EXPECT_EQ(generar(*t, PseudoLegales | Evasiones).size(), static_cast<size_t>(CapacidadLista));
}

TEST(Generacion, MovimientoValido) {
    const char* const fen = "r3k3/8/8/8/4b3/2N5/4P3/R3K3 w Q - 0 1";
    const struct {
        const char* fen;
        Movimiento m;
        bool valido;
    } casos[] = {
        {fen, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, AlfilNegro), true},
        // The target holds another piece than recorded, or nothing at all.
        {fen, crearMovimiento(cs("c3"), cs("e4"), CaballoBlanco, CaballoNegro), false},
        {fen, crearMovimiento(cs("c3"), cs("d5"), CaballoBlanco, PeonNegro), false},
        // Wrong piece, wrong side, own piece captured, no move.
        {fen, crearMovimiento(cs("c3"), cs("e4"), AlfilBlanco, AlfilNegro), false},
        {fen, crearMovimiento(cs("e4"), cs("c2"), AlfilNegro), false},
        {fen, crearMovimiento(cs("c3"), cs("e2"), CaballoBlanco, PeonBlanco), false},
        {fen, MovimientoNulo, false},
        // b1 attacked does not matter for long castling; a missing right does.
        {fen, EnroqueE1C1, true},
        {fen, EnroqueE1G1, false},
        {"4k3/8/8/8/8/4n3/4P3/RN2K3 w Q - 0 1", EnroqueE1C1, false},
        {"4k3/8/8/8/8/4n3/4P3/RN2K3 w Q - 0 1", crearMovimiento(cs("e2"), cs("e4"), PeonBlanco),
         false},
        {"4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1", EnroqueE1G1, false},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 1",
         crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro), true},
        {"4k3/8/8/3PpP2/8/8/8/4K3 w - - 0 1",
         crearAlPaso(cs("d5"), cs("e6"), PeonBlanco, PeonNegro), false},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(movimientoValido(*tableroDesdeFEN(caso.fen), caso.m), caso.valido)
            << caso.fen << " " << movimientoATexto(caso.m);
}

TEST(Generacion, TextoAMovimiento) {
    const struct {
        const char* fen;
        const char* texto;
        Movimiento m;
    } casos[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4", 0x170C},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e5", 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "E2E4", 0},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "", 0},
        {"4k3/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", 0x100B184},
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", "e1g1", 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q",
         crearMovimiento(cs("a7"), cs("a8"), PeonBlanco, Vacio, DamaBlanca)},
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8Q", 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8", 0},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(textoAMovimiento(*tableroDesdeFEN(caso.fen), caso.texto), caso.m) << caso.texto;
}

TEST(Ataques, Consultas) {
    // Blocked and open lines, kings side by side, a pawn behind the king, a queen on a rank.
    const std::pair<const char*, bool> jaques[] = {
        {"4r2k/8/8/8/8/8/4B3/4K3 w - - 0 1", false}, {"4r2k/8/8/8/8/3B4/8/4K3 w - - 0 1", true},
        {"8/8/8/3kK3/8/8/8/8 w - - 0 1", true},      {"8/8/8/3kK3/8/8/8/8 b - - 0 1", true},
        {"7k/8/8/8/8/K7/1p6/8 w - - 0 1", false},    {"7k/8/8/8/8/8/8/K5q1 w - - 0 1", true}};
    for (const auto& caso : jaques) EXPECT_EQ(enJaque(*tableroDesdeFEN(caso.first)), caso.second);

    auto t = tableroDesdeFEN("4k3/8/8/8/3P3P/8/8/4K3 w - - 0 1");
    for (const char* s : {"c5", "e5", "g5"}) EXPECT_TRUE(casillaAtacada(*t, cs(s), Blanco)) << s;
    // In front of a pawn, across the edge from h4, or by the wrong side.
    EXPECT_FALSE(casillaAtacada(*t, cs("d5"), Blanco));
    EXPECT_FALSE(casillaAtacada(*t, cs("a6"), Blanco));
    EXPECT_FALSE(casillaAtacada(*t, cs("c5"), Negro));
    // The king on e4 shields e3 from the rook on e8.
    t = tableroDesdeFEN("4r2k/8/8/8/4K3/8/8/8 w - - 0 1");
    EXPECT_FALSE(casillaAtacada(*t, cs("e3"), Negro));
    EXPECT_TRUE(casillaAtacada(*t, cs("e5"), Negro));

    // The pawn on e4 hides a4 from f4 and does not attack sideways.
    t = tableroDesdeFEN("7k/8/8/8/R3p2r/3P4/2N5/K7 w - - 0 1");
    EXPECT_EQ(atacantesCasilla(*t, cs("c4")), bit("a4") | bit("d3"));
    EXPECT_EQ(atacantesCasilla(*t, cs("f4")), bit("h4"));
    EXPECT_EQ(atacantesCasilla(*t, cs("e4")), bit("a4") | bit("h4") | bit("d3"));
    t = tableroDesdeFEN("7k/8/8/8/R6r/8/8/K7 w - - 0 1");
    EXPECT_EQ(atacantesCasilla(*t, cs("d4")), bit("a4") | bit("h4"));

    // An empty square on the line counts as the piece that would stand there; another piece
    // between, the wrong slider kind, a square off the king's lines or the king itself do not.
    const struct {
        const char *fen, *casilla;
        bool clavada;
    } clavadas[] = {{"4r2k/8/8/8/8/8/4N3/4K3 w - - 0 1", "e2", true},
                    {"7k/8/8/8/b7/8/2N5/3K4 w - - 0 1", "c2", true},
                    {"4r2k/8/8/8/8/8/8/4K3 w - - 0 1", "e4", true},
                    {"4r2k/8/8/8/8/4N3/4B3/4K3 w - - 0 1", "e3", false},
                    {"7k/8/8/8/r7/8/2N5/3K4 w - - 0 1", "c2", false},
                    {"4r2k/8/8/8/8/8/4N3/4K3 w - - 0 1", "f3", false},
                    {"4r2k/8/8/8/8/8/4N3/4K3 w - - 0 1", "e1", false}};
    for (const auto& c : clavadas)
        EXPECT_EQ(estaClavada(*tableroDesdeFEN(c.fen), cs(c.casilla), Blanco), c.clavada) << c.fen;
}

// The evasions are checked against the pseudo-legal moves that survive the check test, each
// once; the order and the named moves against the list given.
TEST(Evasiones, Ejemplos) {
    const struct {
        const char* fen;
        const char* lista; // the whole list in order, or null
        const char* si;
        const char* no;
    } casos[] = {
        // e3 is not attacked while the king stands on e4, yet the rook reaches it after.
        {"4r2k/8/8/8/4K3/8/8/8 w - - 0 1", "e4d3 e4f3 e4d4 e4f4 e4d5 e4f5", "", ""},
        {"7k/8/8/8/8/2b5/8/4K3 w - - 0 1", nullptr, "e1e2", "e1d2"},
        // An adjacent checker may be taken unless protected.
        {"7k/8/8/8/8/8/4r3/4K3 w - - 0 1", "e1d1 e1f1 e1e2", "", ""},
        {"7k/8/8/8/8/3p4/4r3/4K3 w - - 0 1", "e1d1 e1f1", "", ""},
        // Double check: only the king moves.
        {"4k3/8/8/8/8/8/2nb3R/N3K3 w - - 0 1", "e1d1 e1f1 e1d2 e1e2 e1f2", "", ""},
        {"4k3/8/8/3PpP2/5K2/8/8/8 w - e6 0 1", "f4e3 f4f3 f4g3 f4e4 f4g4 f4e5 f4g5 f5e6 d5e6", "",
         ""},
        {"4kr2/8/8/3PpP2/5K2/8/8/8 w - e6 0 1", nullptr, "d5e6", "f5e6"},
        // En passant comes after the king moves and does not wrap from h3.
        {"8/8/8/1k6/Pp6/7p/8/4K3 b - a3 0 1", nullptr, "b5a4", "h3a3"},
        // Pinned pieces are not used.
        {"4r2k/8/8/8/8/2b5/4N3/4K3 w - - 0 1", nullptr, "", "e2c3"},
        {"4k3/8/1b6/8/8/r2PKN2/8/8 w - - 0 1", nullptr, "f3d4", "d3d4"},
        {"K6r/3P4/8/8/8/8/8/4k3 w - - 0 1", "a8a7 a8b7 d7d8q d7d8n d7d8r d7d8b", "", ""},
        {"4K3/8/8/8/8/8/3p4/R6k b - - 0 1", "h1g2 h1h2 d2d1q d2d1n d2d1r d2d1b", "", ""},
        // King, knights, bishops and queens, rooks and queens, then pawn pushes.
        {"Q7/6k1/2N5/q5B1/7R/8/1PP5/1N2K3 w - - 0 1",
         "e1d1 e1f1 e1e2 e1f2 b1d2 b1c3 c6b4 c6a5 g5d2 h4b4 a8a5 c2c3 b2b4", "", ""},
        // Pawn captures toward file a first.
        {"4k3/8/8/8/8/3n4/2P1P3/4K3 w - - 0 1", "e1d1 e1f1 e1d2 e2d3 c2d3", "", ""},
        {"4k3/2p1p3/3N4/8/8/8/8/4K3 b - - 0 1", "e8d7 e8d8 e8f8 e7d6 c7d6", "", ""},
    };
    for (const auto& caso : casos) {
        auto t = tableroDesdeFEN(caso.fen);
        EXPECT_TRUE(enJaque(*t)) << caso.fen;
        const Movimientos movs = generar(*t, Evasiones);
        EXPECT_EQ(ordenados(movs), ordenados(legales(*t))) << caso.fen;
        const Textos dadas = textos(movs);
        if (caso.lista) {
            EXPECT_EQ(dadas, palabras(caso.lista)) << caso.fen;
        }
        for (const std::string& m : palabras(caso.si)) EXPECT_TRUE(contiene(dadas, m)) << m;
        for (const std::string& m : palabras(caso.no)) EXPECT_FALSE(contiene(dadas, m)) << m;
    }
    EXPECT_EQ(textosDe("8/8/8/1k6/Pp6/7p/8/4K3 b - a3 0 1", Evasiones).back(), "b4a3");
}

} // namespace
