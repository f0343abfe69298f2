// libFuzzer target: arbitrary lines through the console's dispatch, with the whole engine alive.
// There is no reader thread, so nothing can stop a search: every line that could run long is
// rewritten to a bounded form before it is dispatched.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/texto.h"
#include "generacion/bits.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

namespace {

// Swallows everything written to it without a system call.
class BufferNulo : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

constexpr int32_t HashMaximoFuzz = 8;
constexpr int32_t PerftMaximo = 3;
// Above this many pieces a three-ply count can reach tens of millions of leaves.
constexpr int PiezasParaPerft3 = 24;

struct Entorno {
    BufferNulo nulo;
    Motor* motor = nullptr;
    ConsolaUCI* consola = nullptr;
};

Entorno& entorno() {
    static Entorno* e = [] {
        auto* creado = new Entorno();
        // Anything written through stdio goes nowhere too; libFuzzer reports on stderr.
        const int nulo = open("/dev/null", O_WRONLY);
        if (nulo >= 0) {
            dup2(nulo, STDOUT_FILENO);
            close(nulo);
        }
        std::cout.rdbuf(&creado->nulo);
        creado->motor = new Motor();
        creado->consola = new ConsolaUCI();
        creado->consola->motor = creado->motor;
        creado->motor->consola = creado->consola;
        return creado;
    }();
    return *e;
}

std::string unir(const std::string& cabeza, const std::vector<std::string>& palabras) {
    std::string texto = cabeza;
    for (const std::string& p : palabras) texto += ' ' + p;
    return texto;
}

// "go" keeps its words but gets a fixed depth of one or two plies at the front and loses every
// "depth" pair and "infinite", so no later word can lift the limit.
std::string acotarGo(const std::string& linea) {
    const std::vector<std::string> palabras = dividirPalabras(textoArgumentos(linea, 2), " ");
    if (palabras.empty()) return linea;
    std::vector<std::string> resto;
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        if (palabras[i] == "infinite") continue;
        if (palabras[i] == "depth") {
            ++i;
            continue;
        }
        resto.push_back(palabras[i]);
    }
    const char* profundidad = linea.size() % 2 == 0 ? "depth 1" : "depth 2";
    return unir(std::string("go ") + profundidad, resto);
}

std::string acotarConteo(const std::string& linea, const std::string& palabra, const Tablero& t) {
    const int32_t profundidad = textoAEntero(textoArgumentos(linea, palabra.size()));
    const int32_t maximo = contarBits(t.ocupadas()) <= PiezasParaPerft3 ? PerftMaximo : 2;
    if (profundidad <= maximo) return linea;
    return palabra + ' ' + std::to_string(maximo);
}

// Only "Hash" values reach the allocator; large tables would make every input slow.
std::string acotarSetoption(const std::string& linea) {
    const std::size_t posicionValue = linea.find("value");
    if (linea.find("Hash") == std::string::npos || posicionValue == std::string::npos ||
        posicionValue + 6 > linea.size())
        return linea;
    if (textoAEntero(linea.substr(posicionValue + 6)) <= HashMaximoFuzz) return linea;
    return linea.substr(0, posicionValue + 6) + std::to_string(HashMaximoFuzz);
}

std::string acotar(const std::string& linea, const Tablero& t) {
    const std::string palabra = primeraPalabra(linea);
    if (palabra == "go") return acotarGo(linea);
    if (palabra == "perft" || palabra == "divide") return acotarConteo(linea, palabra, t);
    if (palabra == "setoption") return acotarSetoption(linea);
    return linea;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    entorno();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    Entorno& e = entorno();
    ConsolaUCI& consola = *e.consola;
    // Each input starts from the same position, so a finding replays on its own.
    posicionInicial(*e.motor->tablero);

    const std::string texto(reinterpret_cast<const char*>(datos), tamano);
    std::size_t inicio = 0;
    while (inicio <= texto.size()) {
        std::size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos) fin = texto.size();
        consola.linea = acotar(texto.substr(inicio, fin - inicio), *e.motor->tablero);
        consola.procesarLinea();
        // "quit" only sets flags; the next line must run as in a live console.
        consola.salir = false;
        inicio = fin + 1;
    }
    return 0;
}
