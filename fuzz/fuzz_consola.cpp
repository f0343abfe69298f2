// libFuzzer target: arbitrary lines through the console's dispatch, with the whole engine alive.
// There is no reader thread, so the line that follows a "go" is handed to its search at the
// first periodic check, as the reader would hand it, and "stop" at every later check: no search
// runs past a few tens of thousands of nodes whatever its limits. Counting commands are
// rewritten to small depths before they run.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/texto.h"
#include "generacion/bits.h"
#include "generacion/lista_movimientos.h"
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
// Leaves of a three-ply count, estimated from the moves of both sides.
constexpr int64_t HojasMaximasPerft3 = 300000;

// The console as a running search sees it: every periodic check finds a line waiting.
class ConsolaFuzz : public ConsolaUCI {
  public:
    void procesarLinea() override {
        if (durante.empty()) {
            linea = "stop";
        } else {
            linea = durante.front();
            durante.pop_front();
        }
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
    }

    void ejecutar(const std::string& texto) {
        linea = texto;
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
        eventoLineaLista.reiniciar();
        // "quit" only sets flags; the next line must run as in a live console.
        salir = false;
    }

    // Lines for the search to find at its checks, before the "stop" that ends it.
    std::deque<std::string> durante;
};

struct Entorno {
    BufferNulo nulo;
    Motor* motor = nullptr;
    ConsolaFuzz* consola = nullptr;
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
        creado->consola = new ConsolaFuzz();
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
    lista.cantidad = 0;
    generarCapturas(lista, t);
    generarTranquilos(lista, t);
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
    ConsolaFuzz& consola = *e.consola;
    const Tablero& tablero = *e.motor->tablero;
    // Each input starts from the same position, so a finding replays on its own.
    posicionInicial(*e.motor->tablero);

    std::vector<std::string> lineas;
    const std::string texto(reinterpret_cast<const char*>(datos), tamano);
    for (std::size_t inicio = 0; inicio <= texto.size();) {
        std::size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos) fin = texto.size();
        lineas.push_back(texto.substr(inicio, fin - inicio));
        inicio = fin + 1;
    }

    for (std::size_t i = 0; i < lineas.size(); ++i) {
        const std::string linea = acotar(lineas[i], tablero);
        const bool busca = primeraPalabra(linea) == "go" &&
                           !dividirPalabras(textoArgumentos(linea, 2), " ").empty();
        if (busca && i + 1 < lineas.size()) consola.durante.push_back(acotar(lineas[++i], tablero));
        consola.ejecutar(linea);
        // A search that ended before its first check never saw its line: it comes next.
        std::deque<std::string> sobrantes;
        sobrantes.swap(consola.durante);
        for (const std::string& s : sobrantes) consola.ejecutar(s);
    }
    return 0;
}
