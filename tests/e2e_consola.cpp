#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "apoyo/uci.h"

namespace {

// The engine ends by itself with status 0 and prints nothing more.
void comprobarFinSilencioso(Proceso& motor) {
    Lineas resto;
    while (const auto linea = motor.leerLinea()) resto.push_back(*linea);
    EXPECT_TRUE(motor.agotado()) << "output did not end";
    EXPECT_EQ(resto, Lineas{});
    EXPECT_EQ(motor.esperarFin(), 0);
}

// "quit" in its forms and the end of input, after the ten start-up lines. A last "quit" without
// its line end is no line yet: the engine keeps waiting until the input ends.
TEST(ArranqueYFin, QuitYFinDeEntradaTerminanSinImprimir) {
    for (const std::string bytes :
         {"quit\n", "quit ahora mismo\n", "quit\r\n", "quit\nuci\n", "", "quit"}) {
        SCOPED_TRACE(bytes);
        SesionUCI m;
        ASSERT_EQ(m.arranque.size(), 10u);
        ASSERT_TRUE(m.proceso.escribir(bytes));
        if (bytes.empty() || bytes.back() != '\n') {
            EXPECT_FALSE(m.proceso.esperarFin(Proceso::Plazo(200))) << "ended too early";
            m.proceso.cerrarEntrada();
        }
        comprobarFinSilencioso(m.proceso);
    }
}

// Lines are read in pieces of 1023 characters: "quit" at the start of a piece is no line, and a
// line of 5000 characters reaches its command whole.
TEST(Consola, LineasLargas) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe(std::string(2 * 1023, 'y') + "quit"), Lineas{});
    EXPECT_EQ(m.salidaDe(std::string(5000, 'a')), Lineas{});
    const std::string acercaDe = std::string(2046 - 37, 'z') + "quit" + std::string(2950, 'w');
    m.enviar("setoption name UCI_EngineAbout value " + acercaDe);
    const Lineas uci = m.salidaDe("uci");
    EXPECT_TRUE(uci.size() == 7 &&
                uci[4] == "option name UCI_EngineAbout type string default " + acercaDe);
}

// Knights out and back: every four moves return to the start position. The history keeps room
// for the deepest search on top of the game: 1024 - 128 moves.
TEST(Position, HistorialLlenoRechazaLasJugadasQueNoCaben) {
    const std::string ciclo[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string linea = "position startpos moves";
    for (int i = 0; i < 900; ++i) linea += " " + ciclo[i % 4];
    SesionUCI m;
    // Stuck at the start position only the white knight move is playable.
    EXPECT_EQ(m.salidaDe(linea), (Lineas{"Historial lleno: g1f3", "Movimiento erroneo: g8f6",
                                         "Movimiento erroneo: f3g1", "Movimiento erroneo: f6g8"}));
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{"Historial lleno: e2e4"});
    const Lineas tablero = m.salidaDe("tablero");
    EXPECT_EQ(tablero.size() == 22 ? tablero[21].size() : 0, 11 + 896 * 5u);
}

// Each bitboard as its name, eight rows of "x" and "." from rank 8, and two empty lines.
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
    Lineas esperada;
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        esperada.push_back(nombres[i]);
        for (int fila = 7; fila >= 0; --fila) {
            std::string texto;
            for (int c = 0; c < 8; ++c) texto += (bitboards[i] >> (8 * fila + c)) & 1 ? 'x' : '.';
            esperada.push_back(texto);
        }
        esperada.insert(esperada.end(), 2, "");
    }
    esperada.push_back("");
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("bitboards"), esperada);
}

} // namespace
