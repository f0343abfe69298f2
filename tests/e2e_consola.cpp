#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

namespace {

const std::string Guiones(64, '-');

// "Mmm dd yyyy": English month abbreviation, day in two characters (blank-padded), year.
bool esFechaDeCompilacion(const std::string& linea, const std::string& etiqueta) {
    if (linea.compare(0, etiqueta.size(), etiqueta) != 0) return false;
    const std::string fecha = linea.substr(etiqueta.size());
    if (fecha.size() != 11 || fecha[3] != ' ' || fecha[6] != ' ') return false;
    const std::string meses = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const std::string::size_type mes = meses.find(fecha.substr(0, 3));
    if (mes == std::string::npos || mes % 3 != 0) return false;
    auto digito = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(fecha[i])); };
    if (!(fecha[4] == ' ' || (fecha[4] >= '0' && fecha[4] <= '3')) || !digito(5)) return false;
    return digito(7) && digito(8) && digito(9) && digito(10);
}

// The ten start-up lines, with the build date checked by its form.
void comprobarArranque(const std::vector<std::string>& lineas) {
    ASSERT_GE(lineas.size(), 10u);
    EXPECT_EQ(lineas[0], Guiones);
    EXPECT_EQ(lineas[1], "Quorvantel - Programa de Ajedrez En Continuo Desarrollo");
    EXPECT_EQ(lineas[2], "Version: 0.11 BETA");
    EXPECT_TRUE(esFechaDeCompilacion(lineas[3], "Version De Desarrollo Al: ")) << lineas[3];
    EXPECT_EQ(lineas[4], Guiones);
    EXPECT_EQ(lineas[5], "OPCIONES ACTUALES:");
    EXPECT_EQ(lineas[6], "Tabla Hash: 2 MBs");
    EXPECT_EQ(lineas[7], "UCIEngineAbout: Quorvantel Alpha [0.11 BETA] by Ostrikel");
    EXPECT_EQ(lineas[8], "ResumenBusqueda: true");
    EXPECT_EQ(lineas[9], Guiones);
}

// Reads the start-up lines before any input is sent.
void leerArranque(Proceso& motor) {
    std::vector<std::string> lineas;
    for (int i = 0; i < 10; ++i) {
        const auto linea = motor.leerLinea();
        ASSERT_TRUE(linea) << "start-up line " << i + 1 << " missing";
        lineas.push_back(*linea);
    }
    comprobarArranque(lineas);
}

// The engine ends by itself with status 0 and prints nothing after the start-up lines.
void comprobarFinSilencioso(Proceso& motor) {
    std::vector<std::string> resto;
    EXPECT_TRUE(motor.leerHastaFin(resto)) << "output did not end";
    EXPECT_TRUE(resto.empty()) << "unexpected output: " << resto.front();
    EXPECT_EQ(motor.esperarFin(), 0);
}

// True when the engine is still running after a short while, i.e. it did not take the input
// sent so far as the end.
bool sigueVivo(Proceso& motor) {
    return !motor.esperarFin(Proceso::Plazo(200)).has_value();
}

TEST(ArranqueYFin, FormaDeLaFecha) {
    const std::string e = "Al: ";
    EXPECT_TRUE(esFechaDeCompilacion("Al: Dec  5 2026", e));
    EXPECT_TRUE(esFechaDeCompilacion("Al: Jan 31 2027", e));
    EXPECT_FALSE(esFechaDeCompilacion("Al: Dec 5 2026", e));
    EXPECT_FALSE(esFechaDeCompilacion("Al: Dic  5 2026", e));
    EXPECT_FALSE(esFechaDeCompilacion("Al: ecJ  5 2026", e));
    EXPECT_FALSE(esFechaDeCompilacion("Al: Dec  5 26", e));
    EXPECT_FALSE(esFechaDeCompilacion("Al: Dec  5 2026 ", e));
    EXPECT_FALSE(esFechaDeCompilacion("Dec  5 2026", e));
}

TEST(ArranqueYFin, EntradaVaciaDaLasDiezLineasYSaleConCero) {
    Proceso motor;
    ASSERT_TRUE(motor.iniciado());
    motor.cerrarEntrada();
    std::vector<std::string> lineas;
    ASSERT_TRUE(motor.leerHastaFin(lineas));
    EXPECT_EQ(lineas.size(), 10u);
    comprobarArranque(lineas);
    EXPECT_EQ(motor.esperarFin(), 0);
}

TEST(ArranqueYFin, QuitTerminaSinCerrarLaEntrada) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(motor.escribirLinea("quit"));
    comprobarFinSilencioso(motor);
}

TEST(ArranqueYFin, FinDeEntradaTrasElArranqueEquivaleAQuit) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(sigueVivo(motor));
    motor.cerrarEntrada();
    comprobarFinSilencioso(motor);
}

TEST(ArranqueYFin, QuitConPalabrasDeMasTambienTermina) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(motor.escribirLinea("quit ahora mismo"));
    comprobarFinSilencioso(motor);
}

TEST(ArranqueYFin, LineasTrasQuitNoSeLeen) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(motor.escribir("quit\nUCI\nquit\n"));
    comprobarFinSilencioso(motor);
}

TEST(ArranqueYFin, UltimaLineaSinFinSeDescartaYCuentaComoQuit) {
    Proceso motor;
    leerArranque(motor);
    // Without its line end "quit" is not a line yet: the engine keeps waiting.
    ASSERT_TRUE(motor.escribir("quit"));
    EXPECT_TRUE(sigueVivo(motor));
    motor.cerrarEntrada();
    comprobarFinSilencioso(motor);
}

TEST(ArranqueYFin, FinDeLineaWindowsSeAceptaEnQuit) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(motor.escribir("quit\r\n"));
    comprobarFinSilencioso(motor);
}

// Each of these lines must be ignored without output, and the engine must go on reading.
class LineaIgnorada : public ::testing::TestWithParam<std::string> {};

TEST_P(LineaIgnorada, NoTerminaNiImprimeYLaSiguienteSeLee) {
    Proceso motor;
    leerArranque(motor);
    ASSERT_TRUE(motor.escribir(GetParam()));
    EXPECT_TRUE(sigueVivo(motor)) << "engine ended on an ignored line";
    ASSERT_TRUE(motor.escribirLinea("quit"));
    comprobarFinSilencioso(motor);
}

INSTANTIATE_TEST_SUITE_P(Consola, LineaIgnorada,
                         ::testing::Values(std::string("xyzzy\n"), std::string("UCI\n"),
                                           std::string("Quit\n"), std::string("QUIT\n"),
                                           std::string("quitar\n"), std::string("\n"),
                                           std::string("\r\n"), std::string("    \n"),
                                           std::string(" quit\n"), std::string("quit\t\n"),
                                           std::string("quit\textra\n"), std::string("quit\r\r\n"),
                                           std::string("qu\0it\n", 6), std::string("quit\0\n", 6),
                                           std::string(5000, 'a') + "\n",
                                           std::string("uno\ndos\n\n \ntres cuatro\n")));

TEST(LineaLarga, QuitTrasUnaLineaDeVariosMilesDeCaracteres) {
    Proceso motor;
    leerArranque(motor);
    // Long lines are read in pieces of 1023 characters; the second line puts "quit" at the start
    // of a piece, which must not be taken as a line of its own.
    std::string larga(3000, 'x');
    larga += " quit";
    ASSERT_TRUE(motor.escribirLinea(larga));
    std::string relleno(2 * 1023, 'y');
    ASSERT_TRUE(motor.escribirLinea(relleno + "quit"));
    EXPECT_TRUE(sigueVivo(motor));
    ASSERT_TRUE(motor.escribirLinea("quit"));
    comprobarFinSilencioso(motor);
}

} // namespace
