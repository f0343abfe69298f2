#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apoyo/uci.h"

// Each file tests/transcripciones/NAME.txt is a dialogue with one engine process, run as the test
// Transcripcion.NAME. Its lines:
//   "> text"  a line sent to the engine; "\t", "\r", "\0" and "\\" stand for those bytes.
//   "#..."    a comment.
//   "..."     any number of output lines.
//   others    one output line, exact (trailing blanks too), where "*" stands for any run of
//             characters: times, node rates, the build date.
// Output lines before the first ">" are matched against the ten start-up lines. The output of a
// group of consecutive ">" lines is read up to "bestmove" when its expected lines end with one,
// else up to the "readyok" of an "isready" sent after the group. After the last group "quit"
// must end the engine with no more output and exit status 0.
namespace {

namespace fs = std::filesystem;

bool encaja(const char* patron, const char* texto) {
    if (*patron == '*') return encaja(patron + 1, texto) || (*texto && encaja(patron, texto + 1));
    return *patron == *texto && (*patron == '\0' || encaja(patron + 1, texto + 1));
}

bool encajan(const Lineas& patron, std::size_t i, const Lineas& salida, std::size_t j) {
    if (i == patron.size()) return j == salida.size();
    if (patron[i] == "...")
        for (std::size_t k = j; k <= salida.size(); ++k)
            if (encajan(patron, i + 1, salida, k)) return true;
    return patron[i] != "..." && j < salida.size() &&
           encaja(patron[i].c_str(), salida[j].c_str()) && encajan(patron, i + 1, salida, j + 1);
}

std::string bytesDe(const std::string& texto) {
    std::string r;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] != '\\' || i + 1 == texto.size()) {
            r += texto[i];
            continue;
        }
        const char c = texto[++i];
        r += c == 't' ? '\t' : c == 'r' ? '\r' : c == '0' ? '\0' : c;
    }
    return r;
}

struct Paso {
    int linea;
    Lineas enviadas, esperadas;
};

class Transcripcion : public testing::Test {
  public:
    explicit Transcripcion(fs::path ruta) : ruta(std::move(ruta)) {}

    void TestBody() override {
        std::ifstream archivo(ruta);
        ASSERT_TRUE(archivo) << ruta;
        std::vector<Paso> pasos(1, Paso{1, {}, {}});
        int numero = 0;
        for (std::string l; std::getline(archivo, l);) {
            ++numero;
            if (empiezaPor(l, ">") && (pasos.size() == 1 || !pasos.back().esperadas.empty()))
                pasos.push_back({numero, {}, {}});
            if (empiezaPor(l, ">"))
                pasos.back().enviadas.push_back(bytesDe(l.substr(l.size() > 1 ? 2 : 1)));
            else if (!empiezaPor(l, "#"))
                pasos.back().esperadas.push_back(l);
        }
        SesionUCI m;
        for (const Paso& p : pasos) {
            Lineas salida = m.arranque;
            if (&p != &pasos[0]) {
                for (const std::string& l : p.enviadas) m.proceso.escribir(l + "\n");
                const bool busca =
                    !p.esperadas.empty() && empiezaPor(p.esperadas.back(), "bestmove");
                if (!busca) m.enviar("isready");
                salida = m.hasta(busca ? "bestmove" : "readyok", 30000);
                if (!busca && !salida.empty()) salida.pop_back();
            }
            if (p.esperadas.empty() && &p == &pasos[0]) continue;
            if (encajan(p.esperadas, 0, salida, 0)) continue;
            std::string texto;
            for (const std::string& l : salida) texto += l + "\n";
            ADD_FAILURE_AT(ruta.c_str(), p.linea) << "the engine printed:\n" << texto;
            return;
        }
        m.enviar("quit");
        Lineas resto;
        while (const auto l = m.proceso.leerLinea()) resto.push_back(*l);
        EXPECT_TRUE(m.proceso.agotado());
        EXPECT_EQ(resto, Lineas{});
        EXPECT_EQ(m.proceso.esperarFin(), 0);
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
