#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "consola/texto.h"

namespace {

using Palabras = std::vector<std::string>;

TEST(Texto, PrimeraPalabraCortaSoloEnElBlanco) {
    const std::pair<const char*, const char*> casos[] = {
        {"position startpos moves e2e4", "position"},
        {"go ", "go"},
        {"", ""},
        {" quit", ""},
        {"   ", ""},
        {"quit\tahora", "quit\tahora"},
        {"uci\r", "uci\r"},
        {"setoption\tname Hash", "setoption\tname"}};
    for (const auto& caso : casos) EXPECT_EQ(primeraPalabra(caso.first), caso.second);
}

TEST(Texto, DividirPalabras) {
    EXPECT_EQ(dividirPalabras("  startpos   moves  e2e4 ", " "),
              (Palabras{"startpos", "moves", "e2e4"}));
    EXPECT_EQ(dividirPalabras("palabra", " "), (Palabras{"palabra"}));
    EXPECT_TRUE(dividirPalabras("", " ").empty());
    EXPECT_TRUE(dividirPalabras("     ", " ").empty());
    EXPECT_EQ(dividirPalabras("wtime\t1000 btime", " "), (Palabras{"wtime\t1000", "btime"}));
    EXPECT_EQ(dividirPalabras("8/8,,k7/K7", "/,"), (Palabras{"8", "8", "k7", "K7"}));
    EXPECT_EQ(dividirPalabras("a\tb c", " \t"), (Palabras{"a", "b", "c"}));
}

TEST(Texto, TextoAEnteroYBoolATexto) {
    const std::pair<const char*, int> casos[] = {{"12abc", 12},
                                                 {"  -7", -7},
                                                 {"+15", 15},
                                                 {"\t42 resto", 42},
                                                 {"007", 7},
                                                 {"abc", 0},
                                                 {"", 0},
                                                 {"-", 0},
                                                 {"x12", 0},
                                                 {"2147483647", 2147483647},
                                                 {"-2147483648", -2147483647 - 1},
                                                 {"2147483648", 0},
                                                 {"-2147483649", 0},
                                                 {"99999999999999999999", 0}};
    for (const auto& caso : casos) EXPECT_EQ(textoAEntero(caso.first), caso.second) << caso.first;
    EXPECT_EQ(boolATexto(true) + boolATexto(false), "truefalse");
}

} // namespace
