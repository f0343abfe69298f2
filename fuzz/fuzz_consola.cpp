// libFuzzer target: arbitrary lines through the console's dispatch, with the whole engine alive,
// run by the in-process console of the tests. The line that follows a "go" is handed to its
// search at the first periodic check, as the reader would hand it, and "stop" at every later
// check: no search runs past a few tens of thousands of nodes whatever its limits. Counting
// commands are rewritten to small depths before they run.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../tests/apoyo/consola_en_proceso.h"
#include "consola/texto.h"
#include "generacion/lista_movimientos.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

namespace {

constexpr int32_t HashMaximoFuzz = 8;
constexpr int32_t PerftMaximo = 3;
// Leaves of a three-ply count, estimated from the moves of both sides.
constexpr int64_t HojasMaximasPerft3 = 300000;

std::string unir(const std::string& cabeza, const std::vector<std::string>& palabras) {
    std::string texto = cabeza;
    for (const std::string& p : palabras) texto += ' ' + p;
    return texto;
}

// "go" gets one depth of at most two plies at the front and loses every other "depth" pair and
// "infinite"; a depth given as zero or below is kept, since it takes other paths of the search.
std::string acotarGo(const std::string& linea) {
    const std::vector<std::string> palabras = dividirPalabras(textoArgumentos(linea, 2), " ");
    if (palabras.empty()) return linea;
    std::vector<std::string> resto;
    int32_t pedida = 1 + static_cast<int32_t>(linea.size() % 2);
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        if (palabras[i] == "infinite") continue;
        if (palabras[i] == "depth") {
            if (i + 1 < palabras.size() && textoAEntero(palabras[i + 1]) <= 2)
                pedida = textoAEntero(palabras[i + 1]);
            ++i;
            continue;
        }
        resto.push_back(palabras[i]);
    }
    return unir("go depth " + std::to_string(pedida), resto);
}

int32_t movimientosPseudoLegales(const Tablero& t) {
    ListaMovimientos lista;
    generarTodos(lista, t);
    return lista.cantidad;
}

std::string acotarConteo(const std::string& linea, const std::string& palabra, const Tablero& t) {
    const int32_t profundidad = textoAEntero(textoArgumentos(linea, palabra.size()));
    Tablero otroBando = t;
    otroBando.ladoQueMueve = !otroBando.ladoQueMueve;
    const int64_t propios = movimientosPseudoLegales(t);
    const int64_t ajenos = movimientosPseudoLegales(otroBando);
    const int32_t maximo = propios * ajenos * propios <= HojasMaximasPerft3 ? PerftMaximo : 2;
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

// The console with every line kept cheap before it runs.
class ConsolaFuzz : public ConsolaEnProceso {
  public:
    std::string ajustar(const std::string& linea) override {
        const std::string palabra = primeraPalabra(linea);
        if (palabra == "go") return acotarGo(linea);
        if (palabra == "perft" || palabra == "divide")
            return acotarConteo(linea, palabra, *motor->tablero);
        if (palabra == "setoption") return acotarSetoption(linea);
        return linea;
    }
};

ConsolaFuzz& consola() {
    static ConsolaFuzz* c = [] {
        // Anything written through stdio goes nowhere; libFuzzer reports on stderr.
        const int nulo = open("/dev/null", O_WRONLY);
        if (nulo >= 0) {
            dup2(nulo, STDOUT_FILENO);
            close(nulo);
        }
        auto* creada = new ConsolaFuzz();
        creada->descartar = true;
        return creada;
    }();
    return *c;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    consola();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    ConsolaFuzz& c = consola();
    // Each input starts from the same position, so a finding replays on its own.
    posicionInicial(*c.motor->tablero);
    c.alimentar(std::string(reinterpret_cast<const char*>(datos), tamano));
    return 0;
}
