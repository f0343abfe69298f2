#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apoyo/uci.h"

// Each file tests/transcripciones/NAME.txt is a dialogue with one engine process, run as the test
// Transcripcion.NAME. Its lines:
//   "> text"  a line sent to the engine; "\t", "\r" and "\0" stand for a tab, a carriage return
//             and a NUL byte.
//   "#..."    a comment.
//   "..."     any number of output lines.
//   others    one output line, exact (trailing blanks too), where "*" stands for any run of
//             characters: times, node rates, the build date.
// Output lines before the first ">" are matched against the ten start-up lines. The output of a
// group of consecutive ">" lines is read up to as many "bestmove" lines as it expects when its
// expected lines end with one, else up to the "readyok" of an "isready" sent after the group (so
// a transcript sends none of its own). After the last group "quit" must end the engine silently
// with exit status 0.
namespace {

namespace fs = std::filesystem;

bool encaja(const char* patron, const char* texto) {
    if (*patron == '*') return encaja(patron + 1, texto) || (*texto && encaja(patron, texto + 1));
    return *patron == *texto && (*patron == '\0' || encaja(patron + 1, texto + 1));
}

bool encajan(const Lineas& patron, std::size_t i, const Lineas& salida, std::size_t j) {
    if (i == patron.size()) return j == salida.size();
    if (patron[i] == "...")
        return encajan(patron, i + 1, salida, j) ||
               (j < salida.size() && encajan(patron, i, salida, j + 1));
    return j < salida.size() && encaja(patron[i].c_str(), salida[j].c_str()) &&
           encajan(patron, i + 1, salida, j + 1);
}

std::string bytesDe(std::string texto) {
    const std::pair<const char*, char> escapes[] = {{"\\t", '\t'}, {"\\r", '\r'}, {"\\0", '\0'}};
    for (const auto& [escape, byte] : escapes)
        for (std::size_t i; (i = texto.find(escape)) != std::string::npos;)
            texto.replace(i, 2, 1, byte);
    return texto;
}

class Transcripcion : public testing::Test {
  public:
    explicit Transcripcion(fs::path ruta) : ruta(std::move(ruta)) {}

    void TestBody() override {
        std::ifstream archivo(ruta);
        ASSERT_TRUE(archivo.is_open()) << ruta;
        SesionUCI m;
        Lineas esperadas;
        // The line of the group's first ">"; 0 for the start-up lines.
        int numero = 0, grupo = 0;
        for (std::string l; std::getline(archivo, l);) {
            ++numero;
            if (empiezaPor(l, "#")) continue;
            if (!empiezaPor(l, ">")) {
                esperadas.push_back(l);
                continue;
            }
            if (grupo == 0 || !esperadas.empty()) {
                if (!comprobar(m, grupo, esperadas)) return;
                esperadas.clear();
                grupo = numero;
            }
            m.proceso.escribir(bytesDe(l.substr(l.size() > 1 ? 2 : 1)) + "\n");
        }
        if (!comprobar(m, grupo, esperadas)) return;
        m.proceso.escribir("quit\n");
        m.finSilencioso();
    }

  private:
    bool comprobar(SesionUCI& m, int grupo, const Lineas& esperadas) {
        auto busquedas = std::count_if(esperadas.begin(), esperadas.end(),
                                       [](auto& l) { return empiezaPor(l, "bestmove"); });
        if (esperadas.empty() || !empiezaPor(esperadas.back(), "bestmove")) busquedas = 0;
        Lineas salida = grupo == 0 ? m.arranque : busquedas == 0 ? m.valla(30000) : Lineas{};
        for (; grupo > 0 && busquedas > 0; --busquedas) {
            const Lineas parte = m.hasta("bestmove", 30000);
            salida.insert(salida.end(), parte.begin(), parte.end());
        }
        if ((grupo == 0 && esperadas.empty()) || encajan(esperadas, 0, salida, 0)) return true;
        std::string texto;
        for (const std::string& l : salida) texto += l + "\n";
        ADD_FAILURE_AT(ruta.c_str(), grupo) << "the engine printed:\n" << texto;
        return false;
    }

  private:
    fs::path ruta;
};

[[maybe_unused]] const bool registradas = [] {
    for (const auto& e :
         fs::directory_iterator(fs::path(__FILE__).parent_path() / "transcripciones"))
        if (e.path().extension() == ".txt")
            testing::RegisterTest(
                "Transcripcion", e.path().stem().string().c_str(), nullptr, nullptr, __FILE__,
                __LINE__,
                [ruta = e.path()]() -> testing::Test* { return new Transcripcion(ruta); });
    return true;
}();

} // namespace
