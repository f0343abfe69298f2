#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "consola/texto.h"

namespace {

using Palabras = std::vector<std::string>;

TEST(PrimeraPalabra, CortaEnElPrimerBlanco) {
    EXPECT_EQ(primeraPalabra("position startpos moves e2e4"), "position");
    EXPECT_EQ(primeraPalabra("quit"), "quit");
    EXPECT_EQ(primeraPalabra("go "), "go");
    EXPECT_EQ(primeraPalabra(""), "");
}

TEST(PrimeraPalabra, SoloElBlancoSepara) {
    EXPECT_EQ(primeraPalabra(" quit"), "");
    EXPECT_EQ(primeraPalabra("   "), "");
    EXPECT_EQ(primeraPalabra("quit\tahora"), "quit\tahora");
    EXPECT_EQ(primeraPalabra("uci\r"), "uci\r");
    EXPECT_EQ(primeraPalabra("setoption\tname Hash"), "setoption\tname");
}

TEST(DividirPalabras, BlancosRepetidosEnLosBordesYEnMedio) {
    EXPECT_EQ(dividirPalabras("a b c", " "), (Palabras{"a", "b", "c"}));
    EXPECT_EQ(dividirPalabras("  startpos   moves  e2e4 ", " "),
              (Palabras{"startpos", "moves", "e2e4"}));
    EXPECT_EQ(dividirPalabras("palabra", " "), (Palabras{"palabra"}));
    EXPECT_TRUE(dividirPalabras("", " ").empty());
    EXPECT_TRUE(dividirPalabras("     ", " ").empty());
}

TEST(DividirPalabras, ElTabuladorNoSeparaConElBlancoComoDelimitador) {
    EXPECT_EQ(dividirPalabras("wtime\t1000 btime", " "), (Palabras{"wtime\t1000", "btime"}));
    EXPECT_EQ(dividirPalabras("\t", " "), (Palabras{"\t"}));
}

TEST(DividirPalabras, VariosDelimitadores) {
    EXPECT_EQ(dividirPalabras("8/8,,k7/K7", "/,"), (Palabras{"8", "8", "k7", "K7"}));
    EXPECT_EQ(dividirPalabras("a\tb c", " \t"), (Palabras{"a", "b", "c"}));
}

TEST(TextoAEntero, NumeroAlPrincipio) {
    EXPECT_EQ(textoAEntero("12abc"), 12);
    EXPECT_EQ(textoAEntero("  -7"), -7);
    EXPECT_EQ(textoAEntero("+15"), 15);
    EXPECT_EQ(textoAEntero("\t42 resto"), 42);
    EXPECT_EQ(textoAEntero("007"), 7);
    EXPECT_EQ(textoAEntero("60000"), 60000);
}

TEST(TextoAEntero, SinNumeroDaCero) {
    EXPECT_EQ(textoAEntero("abc"), 0);
    EXPECT_EQ(textoAEntero(""), 0);
    EXPECT_EQ(textoAEntero("   "), 0);
    EXPECT_EQ(textoAEntero("-"), 0);
    EXPECT_EQ(textoAEntero("x12"), 0);
}

TEST(TextoAEntero, LimitesDe32Bits) {
    EXPECT_EQ(textoAEntero("2147483647"), 2147483647);
    EXPECT_EQ(textoAEntero("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(textoAEntero("2147483648"), 0);
    EXPECT_EQ(textoAEntero("-2147483649"), 0);
    EXPECT_EQ(textoAEntero("99999999999999999999"), 0);
}

TEST(BoolATexto, VerdaderoYFalso) {
    EXPECT_EQ(boolATexto(true), "true");
    EXPECT_EQ(boolATexto(false), "false");
}

} // namespace
