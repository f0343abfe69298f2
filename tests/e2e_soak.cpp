#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "apoyo/uci.h"

namespace {

// The entries of the fuzzer's dictionary, escapes decoded.
Lineas diccionario() {
    std::ifstream archivo(std::filesystem::path(__FILE__).parent_path() /
                          "../fuzz/diccionario.txt");
    Lineas entradas;
    for (std::string l; std::getline(archivo, l);) {
        const std::size_t desde = l.find('"'), hasta = l.rfind('"');
        if (empiezaPor(l, "#") || desde == hasta) continue;
        std::string entrada;
        for (std::size_t i = desde + 1; i < hasta; ++i) {
            if (l[i] == '\\' && l[i + 1] == 'x') {
                entrada += static_cast<char>(std::stoi(l.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                entrada += l[i] == '\\' ? l[++i] : l[i];
            }
        }
        entradas.push_back(entrada);
    }
    return entradas;
}

// Thousands of lines of dictionary entries joined by blanks, in batches fenced by "isready". A
// search is stopped and answered before the next line goes out; "quit" is left out.
TEST(Resistencia, MilesDeLineasDelDiccionarioSinCaidaNiBloqueo) {
    const Lineas entradas = diccionario();
    ASSERT_GT(entradas.size(), 40u);
    std::mt19937 azar(20240611);
    SesionUCI m;
    for (int lote = 0, enviadas = 0; enviadas < 10000; ++lote) {
        std::string texto;
        for (int i = 0; i < 20; ++i) {
            for (int n = 1 + static_cast<int>(azar() % 6); n > 0; --n)
                texto += entradas[azar() % entradas.size()] + (n > 1 ? " " : "\n");
        }
        int preguntas = 1;
        for (std::size_t i = 0, fin; (fin = texto.find('\n', i)) != std::string::npos;
             i = fin + 1) {
            const std::string linea = texto.substr(i, fin - i);
            const std::string palabra = linea.substr(0, linea.find(' '));
            if (palabra == "quit") continue;
            m.enviar(linea);
            ++enviadas;
            preguntas += palabra == "isready";
            if (palabra != "go" || linea.find_first_not_of(' ', 2) == std::string::npos) continue;
            m.enviar("stop");
            // Everything printed before, "readyok" lines too, is read up to the "bestmove".
            ASSERT_FALSE(m.hasta("bestmove ").empty()) << "batch " << lote << ": " << linea;
            preguntas = 1;
        }
        m.enviar("isready");
        for (; preguntas > 0; --preguntas)
            for (const std::string& l : m.hasta("readyok"))
                ASSERT_FALSE(empiezaPor(l, "bestmove")) << "batch " << lote << ": " << l;
    }
    m.enviar("quit");
    EXPECT_FALSE(m.proceso.leerLinea());
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

} // namespace
