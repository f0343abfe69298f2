#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>

#include "apoyo/uci.h"

namespace {

const std::string Vacias =
    ". . . . . . . . \n. . . . . . . . \n. . . . . . . . \n. . . . . . . . \n";
const std::string Inicial =
    "r n b q k b n r \np p p p p p p p \n" + Vacias + "P P P P P P P P \nR N B Q K B N R \n";
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
        const uint64_t bb = bitboards[i];
        esperada += nombres[i] + '\n';
        for (int r = 7; r >= 0; --r) {
            for (int f = 0; f < 8; ++f) esperada += (bb >> (8 * r + f)) & 1 ? 'x' : '.';
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

// "Transcurrido: <seconds> seg." with whole milliseconds in the stream's default form.
double segundosDe(const std::string& linea) {
    const std::string etiqueta = "Transcurrido: ", fin = " seg.";
    if (linea.size() <= etiqueta.size() + fin.size() || !empiezaPor(linea, etiqueta) ||
        linea.substr(linea.size() - fin.size()) != fin) {
        ADD_FAILURE() << "not a time line: " << linea;
        return -1;
    }
    const std::string numero = linea.substr(etiqueta.size(), linea.size() - 19);
    EXPECT_EQ(numero.find_first_not_of("0123456789."), std::string::npos) << numero;
    const double segundos = std::strtod(numero.c_str(), nullptr);
    std::ostringstream s;
    s << segundos;
    EXPECT_EQ(s.str(), numero);
    EXPECT_EQ(static_cast<double>(std::llround(segundos * 1000)) / 1000, segundos) << numero;
    return segundos;
}

// Checks the lines of a "perft" and returns its count.
uint64_t cuentaPerft(const Lineas& lineas, int profundidad) {
    const std::string etiqueta = "Perft(" + std::to_string(profundidad) + ") = ";
    if (lineas.size() < 2 || !empiezaPor(lineas[0], etiqueta)) {
        ADD_FAILURE() << "not a perft printout: " << ultima(lineas);
        return 0;
    }
    const uint64_t nodos = std::stoull(lineas[0].substr(etiqueta.size()));
    EXPECT_EQ(lineas[0], etiqueta + std::to_string(nodos));
    const double segundos = segundosDe(lineas[1]);
    // The nodes per second only after a time above zero.
    Lineas esperada(lineas.begin(), lineas.begin() + 2);
    if (segundos > 0)
        esperada.push_back(
            "NPS: " + std::to_string(static_cast<uint64_t>(static_cast<double>(nodos) / segundos)));
    EXPECT_EQ(lineas, esperada);
    return nodos;
}

TEST(Perft, PosicionesDePruebaYFormaDeLaSalida) {
    const struct {
        const char* posicion;
        const char* perft;
        int profundidad;
        uint64_t nodos;
    } casos[] = {{"position startpos", "perft 1", 1, 20},
                 {"", "perft 3", 3, 8902},
                 {"", "perft  4", 4, 197281},
                 {"", "perft 2 y mas", 2, 400},
                 {"position_test 1", "perft 4", 4, 4085603},
                 {"position_test 2", "perft 2", 2, 279},
                 {"position_test 3", "perft 6", 6, 38633283},
                 {"position_test 4", "perft 5", 5, 11139762},
                 {"position_test 5", "perft 6", 6, 11030083}};
    SesionUCI m;
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.posicion) + " " + c.perft);
        if (*c.posicion) m.salidaDe(c.posicion);
        EXPECT_EQ(cuentaPerft(m.salidaDe(c.perft, 30000), c.profundidad), c.nodos);
    }
    // Counting leaves the position as it was.
    const Lineas t = m.salidaDe("tablero");
    EXPECT_EQ(t.at(9) + '|' + t.at(21), "Lado Que Mueve: Blancas|Historial: ");
    // Depths that name no count, or more plies than there are move lists, print nothing.
    for (const std::string comando : {"perft", "divide"})
        for (const char* argumento :
             {"", " ", "0", "-1", "-100", "abc", "128", "100000", "99999999999", "x3"})
            EXPECT_EQ(m.salidaDe(comando + ' ' + argumento), Lineas{}) << comando << argumento;
    EXPECT_EQ(m.salidaDe("perft"), Lineas{});
}

TEST(Divide, FormaYSumas) {
    SesionUCI m;
    Lineas lineas = m.salidaDe("divide 2");
    ASSERT_EQ(lineas.size(), 23u);
    segundosDe(lineas.back());
    lineas.pop_back();
    std::string esperada;
    for (const std::string& jugada : palabras(Jugadas)) esperada += "[" + jugada + "] = 20\n";
    EXPECT_EQ(lineas, lineasDe(esperada + "Perft Divide(2) = 400\nMovimientos: 20\n"));

    // The parts add up to the total.
    m.salidaDe("position_test 1");
    const Lineas tres = m.salidaDe("divide 3");
    ASSERT_EQ(tres.size(), 51u);
    uint64_t suma = 0;
    for (int i = 0; i < 48; ++i) suma += std::stoull(tres[i].substr(tres[i].find("] = ") + 4));
    EXPECT_EQ(suma, 97862u);
    EXPECT_EQ(tres[48] + '|' + tres[49], "Perft Divide(3) = 97862|Movimientos: 48");
}

// Each test position prints as its FEN text read by "position fen", then its line of text.
TEST(PositionTest, SeisPosicionesConSuTexto) {
    const std::pair<const char*, const char*> pruebas[] = {
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
         "perft(6) = 8031647685"},
        {"8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - -", "perft(2) = 279"},
        {"8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3", "perft(6) = 38633283"},
        {"rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", "perft(5) = 11139762"},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", "perft(7) = 178633661"},
        {"8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - -", "Fine #70"}};
    SesionUCI m;
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const Lineas impresion = m.salidaDe("position_test " + std::to_string(n));
        ASSERT_FALSE(impresion.empty());
        EXPECT_EQ(m.salidaDe("tablero"), Lineas(impresion.begin(), impresion.end() - 1));
        m.salidaDe(std::string("position fen ") + pruebas[n - 1].first + " 0 1");
        Lineas esperada = m.salidaDe("tablero");
        esperada.push_back(pruebas[n - 1].second);
        EXPECT_EQ(impresion, esperada);
    }
    m.salidaDe("position startpos moves e2e4");
    for (const char* argumento : {"0", "7", "abc", "-1", "", "100"})
        EXPECT_EQ(m.salidaDe(std::string("position_test ") + argumento), Lineas{}) << argumento;
    EXPECT_EQ(m.salidaDe("position_test"), Lineas{});
    EXPECT_EQ(m.salidaDe("tablero").at(21), "Historial: e2e4 ");
}

TEST(MoveEvalYSee, EjemplosYJugadasIlegales) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("eval"), Lineas{"Eval: 0"});
    const Lineas see = m.salidaDe("see e2e4");
    EXPECT_TRUE(see.size() == 1 && empiezaPor(see[0], "SEE[e2][e4] = ")) << ultima(see);
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{});
    Lineas t = m.salidaDe("tablero");
    EXPECT_EQ(t.at(9) + '|' + t.at(21), "Lado Que Mueve: Negras|Historial: e2e4 ");

    // The argument text is compared whole and printed as given.
    m.salidaDe("position startpos");
    for (const std::string texto : {"e2e5", "e2e4 ", "E2E4", " e2e4", "e7e5", "", "e2e4 e7e5"})
        EXPECT_EQ(m.salidaDe("move " + texto), Lineas{"Movimiento Ilegal: " + texto});
    EXPECT_EQ(m.salidaDe("move"), Lineas{"Movimiento Ilegal: "});
    EXPECT_EQ(m.salidaDe("tablero").at(21), "Historial: ");

    // Pinned knight: pseudo-legal, but it would leave the king attacked.
    m.salidaDe("position fen 4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
    EXPECT_EQ(m.salidaDe("move e2c3"), Lineas{"Movimiento Ilegal: e2c3"});
    t = m.salidaDe("tablero");
    EXPECT_EQ(t.at(6) + '|' + t.at(9) + '|' + t.at(21),
              ". . . . N . . . |Lado Que Mueve: Blancas|Historial: ");

    // A pawn taking an undefended pawn wins what it takes, whatever the scale.
    m.salidaDe("position fen 4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    const Lineas captura = m.salidaDe("see e4d5");
    ASSERT_EQ(captura.size(), 1u);
    EXPECT_TRUE(empiezaPor(captura[0], "SEE[e4][d5] = ")) << captura[0];
    EXPECT_GT(std::atoi(captura[0].c_str() + 14), 0);
    // A text that names no move gives no crash; the engine still answers.
    m.salidaDe("see zzzz");
    EXPECT_EQ(m.salidaDe("eval").size(), 1u);
}

} // namespace
