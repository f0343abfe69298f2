#include <gtest/gtest.h>

#include <string>

#include "apoyo/uci.h"

namespace {

const std::string Guiones(64, '-');

// The engine ends by itself with status 0 and prints nothing more.
void comprobarFinSilencioso(Proceso& motor) {
    Lineas resto;
    EXPECT_TRUE(motor.leerHastaFin(resto)) << "output did not end";
    EXPECT_EQ(resto, Lineas{});
    EXPECT_EQ(motor.esperarFin(), 0);
}

TEST(ArranqueYFin, EntradaVaciaDaLasDiezLineasYSaleConCero) {
    Proceso motor;
    motor.cerrarEntrada();
    Lineas lineas;
    ASSERT_TRUE(motor.leerHastaFin(lineas));
    ASSERT_EQ(lineas.size(), 10u);
    // The build date: English month abbreviation, day in two characters (blank-padded), year.
    EXPECT_TRUE(std::regex_match(lineas[3], std::regex("Version De Desarrollo Al: (Jan|Feb|Mar|Apr|"
                                                       "May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                       "( \\d|[0-3]\\d) \\d{4}")))
        << lineas[3];
    lineas[3] = "<fecha>";
    EXPECT_EQ(lineas, lineasDe(Guiones +
                               "\nQuorvantel - Programa de Ajedrez En Continuo Desarrollo\n"
                               "Version: 0.11 BETA\n<fecha>\n" +
                               Guiones +
                               "\nOPCIONES ACTUALES:\nTabla Hash: 2 MBs\n"
                               "UCIEngineAbout: Quorvantel Alpha [0.11 BETA] by Ostrikel\n"
                               "ResumenBusqueda: true\n" +
                               Guiones + "\n"));
    EXPECT_EQ(motor.esperarFin(), 0);
}

// "quit" in its forms, the end of input, and a last "quit" without its line end, which is
// no line yet: the engine keeps waiting until the input ends.
TEST(ArranqueYFin, QuitYFinDeEntradaTerminanSinImprimir) {
    const std::pair<std::string, bool> casos[] = {
        {"quit\n", false},   {"quit ahora mismo\n", false},
        {"quit\r\n", false}, {"quit\nUCI\nquit\n", false},
        {"", true},          {"quit", true}};
    for (const auto& [bytes, cerrar] : casos) {
        SCOPED_TRACE(bytes);
        SesionUCI m;
        ASSERT_TRUE(m.proceso.escribir(bytes));
        if (cerrar) {
            EXPECT_FALSE(m.proceso.esperarFin(Proceso::Plazo(200))) << "ended too early";
            m.proceso.cerrarEntrada();
        }
        comprobarFinSilencioso(m.proceso);
    }
}

// Each of these is ignored without output, and the next line is still read. Long lines are read
// in pieces of 1023 characters: "quit" at the start of a piece must not be taken as a line.
TEST(Consola, LineasIgnoradas) {
    using namespace std::string_literals;
    Lineas ignoradas =
        lineasDe("xyzzy\nUCI\nQuit\nQUIT\nquitar\n\n\r\n    \n quit\nquit\t\nquit\textra\n"
                 "quit\r\r\nposit\ngo!\nPosition startpos\nxyzzy position startpos\n"
                 "qu\0it\nquit\0\n"s);
    ignoradas.push_back(std::string(2 * 1023, 'y') + "quit");
    ignoradas.push_back(std::string(5000, 'a'));
    SesionUCI m;
    for (const std::string& linea : ignoradas) {
        SCOPED_TRACE(linea.substr(0, 40));
        ASSERT_TRUE(m.proceso.escribir(linea + "\nisready\n"));
        ASSERT_EQ(m.proceso.leerLinea(), "readyok");
    }
    // A 5000-character line reaches its command whole.
    const std::string acercaDe = std::string(2046 - 37, 'z') + "quit" + std::string(2950, 'w');
    m.enviar("setoption name UCI_EngineAbout value " + acercaDe);
    EXPECT_TRUE(m.salidaDe("uci").at(4) ==
                "option name UCI_EngineAbout type string default " + acercaDe);
    ASSERT_TRUE(m.proceso.escribirLinea("quit"));
    comprobarFinSilencioso(m.proceso);
}

} // namespace
