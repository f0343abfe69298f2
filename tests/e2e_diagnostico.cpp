#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

#include "apoyo/uci.h"

namespace {

const std::string Jugadas = "b1a3 b1c3 g1f3 g1h3 a2a3 b2b3 c2c3 d2d3 e2e3 f2f3 g2g3 h2h3 a2a4 "
                            "b2b4 c2c4 d2d4 e2e4 f2f4 g2g4 h2h4 ";

Lineas tablero(const std::string& filas, const std::string& clave, const std::string& lado,
               const std::string& historial) {
    return lineasDe(filas + "\nLado Que Mueve: " + lado +
                    "\nCasilla Al Paso: Invalida\nDerechos De Enroque: KkQq\n"
                    "Movidas Regla 50: 0\nMaterial Blancas: 4000\nMaterial Negras: 4000\n"
                    "Total Valor Piezas Blancas: 31\nTotal Valor Piezas Negras: 31\n"
                    "Total Peones Blancos: 8\nTotal Peones Negros: 8\nHashkey: " +
                    clave + "\nEn Jaque: false\nHistorial: " + historial + "\n");
}

// The keys are those of the C library's rand seeded as the engine seeds it; the Windows
// library's differ, so these two tests stay out of the runs under wine.
TEST(Tablero, PosicionInicialLineaALinea) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("tablero"), tablero(Inicial, "8f113d65762f6de0", "Blancas", ""));
    // Black to move: the key gets its complement.
    m.salidaDe("position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(m.salidaDe("tablero"), tablero(Inicial, "70eec29a89d0921f", "Negras", ""));
}

TEST(Tablero, TrasE4E5) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("position startpos moves e2e4 e7e5"), Lineas{});
    // No en-passant square with no pawn beside e5.
    EXPECT_EQ(m.salidaDe("tablero"),
              tablero("r n b q k b n r \np p p p . p p p \n. . . . . . . . \n. . . . p . . . \n"
                      ". . . . P . . . \n. . . . . . . . \nP P P P . P P P \nR N B Q K B N R \n",
                      "ad41d7f636b9784e", "Blancas", "e2e4 e7e5 "));
}

TEST(Bitboards, PosicionInicial) {
    const Lineas nombres = palabras(
        "Ocupadas Rotado90 Rotado45 Rotado315 piezasBlancas piezasNegras PeonesB PeonesN CaballosB "
        "CaballosN AlfilesB AlfilesN TorresB TorresN DamasB DamasN ReyesB ReyesN");
    const uint64_t bitboards[] = {0xFFFF00000000FFFF, 0xC3C3C3C3C3C3C3C3, 0xE1F0783C1E0F87C3,
                                  0x870F1E3C78F0E1C3, 0x000000000000FFFF, 0xFFFF000000000000,
                                  0x000000000000FF00, 0x00FF000000000000, 0x0000000000000042,
                                  0x4200000000000000, 0x0000000000000024, 0x2400000000000000,
                                  0x0000000000000081, 0x8100000000000000, 0x0000000000000008,
                                  0x0800000000000000, 0x0000000000000010, 0x1000000000000000};
    ASSERT_EQ(nombres.size(), std::size(bitboards));
    std::string esperada;
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        esperada += nombres[i] + '\n';
        for (int r = 7; r >= 0; --r) {
            for (int f = 0; f < 8; ++f) esperada += (bitboards[i] >> (8 * r + f)) & 1 ? 'x' : '.';
            esperada += '\n';
        }
        esperada += "\n\n";
    }
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("bitboards"), lineasDe(esperada + '\n'));
}

TEST(ListaMovimientos, InicialYSinJugadas) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("listamovs"), lineasDe(Jugadas + "\nTotal Movimientos: 20\n\n"));
    // Stalemate, then mate: nothing legal, and only the mated king is in check.
    for (const auto& [fen, jaque] :
         {std::pair<std::string, std::string>{"7k/5Q2/6K1/8/8/8/8/8", "false"},
          {"7k/6Q1/6K1/8/8/8/8/8", "true"}}) {
        SCOPED_TRACE(fen);
        m.salidaDe("position fen " + fen + " b - - 0 1");
        EXPECT_EQ(m.salidaDe("listamovs"), lineasDe("\nTotal Movimientos: 0\n\n"));
        EXPECT_EQ(m.salidaDe("perft 1").at(0), "Perft(1) = 0");
        const Lineas divide = m.salidaDe("divide 3");
        ASSERT_EQ(divide.size(), 3u);
        EXPECT_EQ(divide[0] + '|' + divide[1], "Perft Divide(3) = 0|Movimientos: 0");
        EXPECT_EQ(m.salidaDe("tablero").at(20), "En Jaque: " + jaque);
    }
}

// "Transcurrido: <seconds> seg." in whole milliseconds, as a stream prints them by default.
double segundosDe(const std::string& linea) {
    std::smatch s;
    const std::regex forma("Transcurrido: ((0|[1-9][0-9]*)(\\.[0-9]{0,2}[1-9])?) seg\\.");
    EXPECT_TRUE(std::regex_match(linea, s, forma)) << linea;
    return s.empty() ? -1 : std::stod(s[1]);
}

// The counts themselves are checked in-process; here the printed form: the count, the time and,
// only after a time above zero, the nodes per second.
TEST(Perft, FormaDeLaSalidaDivideYArgumentos) {
    SesionUCI m;
    for (const auto& [perft, cuenta] :
         {std::pair<std::string, std::string>{"perft  4", "Perft(4) = 197281"},
          {"perft 2 y mas", "Perft(2) = 400"},
          {"perft 1", "Perft(1) = 20"}}) {
        const Lineas lineas = m.salidaDe(perft);
        ASSERT_GE(lineas.size(), 2u) << perft;
        Lineas esperada = {cuenta, lineas[1]};
        const double nodos = std::stod(cuenta.substr(cuenta.find('=') + 2));
        if (const double segundos = segundosDe(lineas[1]); segundos > 0)
            esperada.push_back("NPS: " + std::to_string(static_cast<uint64_t>(nodos / segundos)));
        EXPECT_EQ(lineas, esperada) << perft;
    }
    // Counting leaves the position as it was.
    EXPECT_EQ(m.estado(true), Inicial + "Blancas|");
    // Depths that name no count, or more plies than there are move lists, print nothing.
    for (const std::string comando : {"perft", "divide"})
        for (const char* argumento :
             {"", " ", "0", "-1", "-100", "abc", "128", "100000", "99999999999", "x3"})
            EXPECT_EQ(m.salidaDe(comando + ' ' + argumento), Lineas{}) << comando << argumento;
    EXPECT_EQ(m.salidaDe("perft"), Lineas{});
    // Divide: one line per root move, then the total, the move count and the time.
    Lineas lineas = m.salidaDe("divide 2");
    ASSERT_EQ(lineas.size(), 23u);
    segundosDe(lineas.back());
    lineas.pop_back();
    std::string esperada;
    for (const std::string& jugada : palabras(Jugadas)) esperada += "[" + jugada + "] = 20\n";
    EXPECT_EQ(lineas, lineasDe(esperada + "Perft Divide(2) = 400\nMovimientos: 20\n"));
}

// Each test position prints as its FEN text read by "position fen", then its line of text.
TEST(PositionTest, SeisPosicionesConSuTexto) {
    const Lineas pruebas = lineasDe(
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\nperft(6) = 8031647685\n"
        "8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - -\nperft(2) = 279\n"
        "8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3\nperft(6) = 38633283\n"
        "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6\nperft(5) = 11139762\n"
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -\nperft(7) = 178633661\n"
        "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - -\nFine #70\n");
    SesionUCI m;
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const Lineas impresion = m.salidaDe("position_test " + std::to_string(n));
        ASSERT_FALSE(impresion.empty());
        EXPECT_EQ(m.salidaDe("tablero"), Lineas(impresion.begin(), impresion.end() - 1));
        m.salidaDe("position fen " + pruebas[2 * n - 2] + " 0 1");
        Lineas esperada = m.salidaDe("tablero");
        esperada.push_back(pruebas[2 * n - 1]);
        EXPECT_EQ(impresion, esperada);
    }
    m.salidaDe("position startpos moves e2e4");
    for (const char* argumento : {"0", "7", "abc", "-1", "", "100"})
        EXPECT_EQ(m.salidaDe(std::string("position_test ") + argumento), Lineas{}) << argumento;
    EXPECT_EQ(m.salidaDe("position_test"), Lineas{});
    EXPECT_EQ(m.estado(), "Negras|e2e4 ");
}

TEST(MoveEvalYSee, EjemplosYJugadasIlegales) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("eval"), Lineas{"Eval: 0"});
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{});
    EXPECT_EQ(m.estado(), "Negras|e2e4 ");

    // The argument text is compared whole and printed as given.
    m.salidaDe("position startpos");
    for (const std::string texto : {"e2e5", "e2e4 ", "E2E4", " e2e4", "e7e5", "", "e2e4 e7e5"})
        EXPECT_EQ(m.salidaDe("move " + texto), Lineas{"Movimiento Ilegal: " + texto});
    EXPECT_EQ(m.salidaDe("move"), Lineas{"Movimiento Ilegal: "});
    EXPECT_EQ(m.estado(), "Blancas|");

    // Pinned knight: pseudo-legal, but it would leave the king attacked.
    m.salidaDe("position fen 4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
    EXPECT_EQ(m.salidaDe("move e2c3"), Lineas{"Movimiento Ilegal: e2c3"});
    EXPECT_EQ(m.estado(true).substr(6 * 17), ". . . . N . . . \n. . . . K . . . \nBlancas|");

    // Values are checked in-process; here the squares reach it in order and the line's form.
    m.salidaDe("position fen 4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(m.salidaDe("see e4d5"), Lineas{"SEE[e4][d5] = 100"});
    // A text that names no move gives no crash; the engine still answers.
    m.salidaDe("see zzzz");
    EXPECT_EQ(m.salidaDe("eval").size(), 1u);
}

} // namespace
