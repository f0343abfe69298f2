#include "consola/banco.h"

#include <chrono>
#include <string>

#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "tablero/fen.h"
#include "uci/control_tiempo.h"

namespace {

// Openings, middle games and endings, quiet and sharp, with castling, en passant and promotions
// in reach.
constexpr const char* PosicionesBanco[NumPosicionesBanco] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1",
    "8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1",
    "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "rnbqkb1r/pp1p1ppp/4pn2/2p5/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 0 4",
    "r1bq1rk1/pp2bppp/2n1pn2/2pp4/3P4/2PBPN2/PP1N1PPP/R1BQ1RK1 w - - 0 8",
    "r2q1rk1/1b2bppp/p2ppn2/1p6/3NP3/1BN1B3/PPP2PPP/R2Q1RK1 w - - 0 12",
    "2r3k1/pp3ppp/2n1b3/3p4/3P4/2N1B3/PP3PPP/2R3K1 w - - 0 20",
    "8/8/4k3/3p4/3P4/4K3/8/8 w - - 0 1",
    "8/5pk1/6p1/7p/7P/6P1/5PK1/8 w - - 0 1",
    "4r1k1/p4ppp/8/8/8/8/P4PPP/4R1K1 w - - 0 1",
    "r3k2r/ppp2ppp/2n1bn2/2bqp3/8/2NP1NP1/PPP1PPBP/R1BQ1RK1 w kq - 0 8",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "r1b1kb1r/pppp1ppp/2n2n2/4p1q1/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 0 5",
    "3rr1k1/pp3pp1/1qn2np1/8/3p4/PP1R1P2/2P1NQPP/R1B3K1 b - - 0 1",
    "2kr3r/pp1q1ppp/5n2/1Nb5/2Pp1B2/7Q/P4PPP/1R3RK1 w - - 0 1",
};

static_assert(PosicionesBanco[NumPosicionesBanco - 1] != nullptr,
              "a benchmark position is missing");

using Reloj = std::chrono::steady_clock;

} // namespace

ResultadoBanco ejecutarBanco(Motor& motor) {
    ResultadoBanco resultado{0, 0.0};
    for (const char* fen : PosicionesBanco) {
        establecerPosicion(*motor.tablero, PosicionFEN(fen));
        motor.tablaHash->vaciar();
        motor.controlTiempo->reiniciar();
        motor.controlTiempo->depth = ProfundidadBanco;
        const auto inicio = Reloj::now();
        motor.busqueda->pensar();
        resultado.segundos += std::chrono::duration<double>(Reloj::now() - inicio).count();
        resultado.nodos += estadisticas.nodos;
    }
    return resultado;
}

uint64_t nodosPorSegundo(const ResultadoBanco& resultado) {
    if (resultado.segundos <= 0.0) return 0;
    return static_cast<uint64_t>(static_cast<double>(resultado.nodos) / resultado.segundos);
}

void bancoDeLineaDeOrdenes() {
    ResultadoBanco resultado;
    {
        SalidaSilenciada silencio;
        Motor motor;
        resultado = ejecutarBanco(motor);
    }
    escribirLinea(std::to_string(resultado.nodos) + " nodes " +
                  std::to_string(nodosPorSegundo(resultado)) + " nps");
}
