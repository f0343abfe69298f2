#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "consola/texto.h"

namespace {

using Palabras = std::vector<std::string>;

// The first word ends only at a plain blank, so a tab or a "\r" stays part of it.
TEST(Texto, PrimeraPalabraYDividir) {
    const std::pair<const char*, const char*> primeras[] = {
        {"position startpos moves e2e4", "position"},
        {"", ""},
        {" quit", ""},
        {"uci\r", "uci\r"},
        {"setoption\tname Hash", "setoption\tname"}};
    for (const auto& caso : primeras) EXPECT_EQ(primeraPalabra(caso.first), caso.second);

    EXPECT_EQ(dividirPalabras("  startpos   moves  e2e4 ", " "),
              (Palabras{"startpos", "moves", "e2e4"}));
    EXPECT_TRUE(dividirPalabras("     ", " ").empty());
    EXPECT_EQ(dividirPalabras("wtime\t1000 btime", " "), (Palabras{"wtime\t1000", "btime"}));
    EXPECT_EQ(dividirPalabras("8/8,,k7/K7", "/,"), (Palabras{"8", "8", "k7", "K7"}));
}

// Leading blanks and a sign are read, the digits stop at the first other character, and
// text that is not a number or does not fit gives 0.
TEST(Texto, TextoAEnteroYBoolATexto) {
    const std::pair<const char*, int32_t> casos[] = {{"12abc", 12},
                                                     {"  -7", -7},
                                                     {"+15", 15},
                                                     {"\t42 resto", 42},
                                                     {"2147483647", INT32_MAX},
                                                     {"-2147483648", INT32_MIN}};
    for (const auto& caso : casos) EXPECT_EQ(textoAEntero(caso.first), caso.second) << caso.first;
    for (const char* cero : {"abc", "", "-", "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_EQ(textoAEntero(cero), 0) << cero;
    EXPECT_EQ(boolATexto(true) + boolATexto(false), "truefalse");
}

} // namespace
