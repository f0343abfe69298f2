// libFuzzer target: move words typed to the console. The first byte picks a position from the
// list below; the first line that follows is the move list of a "position fen ... moves" line,
// and every later line the argument of a "move" command. Each word or argument must be played
// when it names a legal move, and otherwise refused with its message and the board untouched.
// A reference board follows the same moves, found among the pseudo-legal moves whose text is
// the word and that leave the king safe; the console's board must equal it after every line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "apoyo/consistencia.h"
#include "apoyo/consola_en_proceso.h"
#include "busqueda/busqueda.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

namespace {

// Castling both ways, en passant out of check and pinned, promotions with and without capture,
// a side in check, and a side without a king.
const char* const Posiciones[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/Pp2P3/2N2Q1p/1PPBBPPP/R3K2R b KQkq a3 0 1",
    "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1",
    "4k3/8/8/3PpP2/5K2/8/8/8 w - e6 0 1",
    "4k3/2b5/8/3pP3/8/8/7K/8 w - d6 0 1",
    "4k3/8/8/8/8/8/4R3/4K3 b - - 0 1",
    "4k3/8/8/8/8/8/8/8 w - - 0 1",
};
constexpr std::size_t NumPosiciones = sizeof(Posiciones) / sizeof(Posiciones[0]);

using Lineas = std::vector<std::string>;

[[noreturn]] void fallar(const std::string& entrada, const std::string& que) {
    std::fprintf(stderr, "\nlinea \"%s\": %s\n", entrada.c_str(), que.c_str());
    std::abort();
}

struct Estado {
    ConsolaEnProceso consola;
    Tablero referencia{nullptr};
    ListaMovimientos lista{};
};

Estado& estado() {
    static Estado* e = new Estado();
    return *e;
}

// The lines the console must print for a word: none when the word names a legal move, which is
// then made on the reference board; else the refusal.
Lineas jugarEnReferencia(Estado& e, const std::string& palabra, const std::string& mensaje) {
    Tablero& r = e.referencia;
    // A move's text is two squares and maybe a promotion letter: most words need no search.
    if (palabra.size() != 4 && palabra.size() != 5) return {mensaje + palabra};
    e.lista.cantidad = 0;
    generarTodos(e.lista, r);
    for (int i = 0; i < e.lista.cantidad; ++i) {
        const Movimiento m = e.lista.movimientos[i];
        if (movimientoATexto(m) != palabra) continue;
        r.hacerMovimiento(m);
        const bool legal = !dejaReyEnJaque(r);
        r.deshacerMovimiento();
        if (!legal) continue;
        if (r.numHistorial >= CapacidadHistorial - MaxPly) return {"Historial lleno: " + palabra};
        r.hacerMovimiento(m);
        return {};
    }
    return {mensaje + palabra};
}

void comprobar(Estado& e, const std::string& linea, const Lineas& esperadas) {
    const Lineas salida = e.consola.enviar(linea);
    if (salida != esperadas)
        fallar(linea, "imprime \"" + (salida.empty() ? std::string() : salida[0]) + "\" (" +
                          std::to_string(salida.size()) + " lineas), se esperaba \"" +
                          (esperadas.empty() ? std::string() : esperadas[0]) + "\"");
    const std::string fallo = diferencia(*e.consola.motor->tablero, e.referencia);
    if (!fallo.empty()) fallar(linea, "el tablero difiere: " + fallo);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    estado();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    if (tamano == 0) return 0;
    Estado& e = estado();
    const char* fen = Posiciones[datos[0] % NumPosiciones];
    Lineas lineas;
    std::string actual;
    for (std::size_t i = 1; i < tamano; ++i) {
        if (datos[i] != '\n') {
            actual += static_cast<char>(datos[i]);
            continue;
        }
        lineas.push_back(actual);
        actual.clear();
    }
    lineas.push_back(actual);

    establecerPosicion(e.referencia, PosicionFEN(fen));
    Lineas esperadas;
    for (const std::string& palabra : dividirPalabras(lineas[0], " ")) {
        const Lineas impresas = jugarEnReferencia(e, palabra, "Movimiento erroneo: ");
        esperadas.insert(esperadas.end(), impresas.begin(), impresas.end());
    }
    comprobar(e, std::string("position fen ") + fen + " moves " + lineas[0], esperadas);
    for (std::size_t i = 1; i < lineas.size(); ++i)
        comprobar(e, "move " + lineas[i], jugarEnReferencia(e, lineas[i], "Movimiento Ilegal: "));
    return 0;
}
