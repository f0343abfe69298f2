#include "generacion/perft.h"

#include <sstream>

#include "consola/plataforma.h"
#include "consola/salida.h"
#include "generacion/ataques.h"
#include "generacion/conteo.h"
#include "tablero/tablero.h"

uint64_t nodosPerft = 0;

const PosicionTest PosicionesTest[NumPosicionesTest] = {
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
     "perft(6) = 8031647685"},
    {"8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1", "perft(2) = 279"},
    {"8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1", "perft(6) = 38633283"},
    {"rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1", "perft(5) = 11139762"},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "perft(7) = 178633661"},
    {"8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - - 0 1", "Fine #70"},
};

void contarPerft(Tablero& t, ListaMovimientos* listas, int32_t profundidad, int32_t ply) {
    ListaMovimientos& lista = listas[ply];
    // The last ply is counted without making its moves, the list serving as scratch.
    if (profundidad <= 1) {
        nodosPerft += contarJugadasLegales(t, lista);
        return;
    }
    generarTodos(lista, t);
    // Out of check, only the few moves that can expose the king take the test after make.
    const Bitboard riesgo = casillasDeRiesgo(t, t.colorQueMueve());
    for (int32_t i = 0; i < lista.cantidad; ++i) {
        if (!hacerSiLegal(t, lista.movimientos[i], riesgo)) continue;
        contarPerft(t, listas, profundidad - 1, ply + 1);
        t.deshacerMovimiento();
    }
}

void ejecutarPerft(Tablero& t, ListaMovimientos* listas, int32_t profundidad) {
    nodosPerft = 0;
    const uint32_t inicio = ticksMilisegundos();
    contarPerft(t, listas, profundidad, 1);
    const double segundos = static_cast<uint32_t>(ticksMilisegundos() - inicio) / 1000.0;
    std::ostringstream s;
    s << "Perft(" << profundidad << ") = " << nodosPerft << '\n';
    s << "Transcurrido: " << segundos << " seg." << '\n';
    if (segundos != 0)
        s << "NPS: " << static_cast<uint64_t>(static_cast<double>(nodosPerft) / segundos) << '\n';
    escribir(s.str());
}

// Each root move's line starts before its count is known.
void ejecutarDivide(Tablero& t, ListaMovimientos* listas, int32_t profundidad) {
    const uint32_t inicio = ticksMilisegundos();
    nodosPerft = 0;
    uint64_t anterior = 0;
    int32_t legales = 0;
    ListaMovimientos& lista = listas[1];
    generarTodos(lista, t);
    for (int32_t i = 0; i < lista.cantidad; ++i) {
        const Movimiento m = lista.movimientos[i];
        if (!hacerSiLegal(t, m)) continue;
        escribir("[" + movimientoATexto(m) + "] = ");
        if (profundidad - 1 < 1)
            ++nodosPerft;
        else
            contarPerft(t, listas, profundidad - 1, 2);
        escribirLinea(std::to_string(nodosPerft - anterior));
        anterior = nodosPerft;
        ++legales;
        t.deshacerMovimiento();
    }
    std::ostringstream s;
    s << "Perft Divide(" << profundidad << ") = " << nodosPerft << '\n';
    s << "Movimientos: " << legales << '\n';
    s << "Transcurrido: " << static_cast<uint32_t>(ticksMilisegundos() - inicio) / 1000.0 << " seg."
      << '\n';
    escribir(s.str());
}
