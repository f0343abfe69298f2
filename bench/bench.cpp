// Benchmarks of the engine core, run in Release:
//   quorvantel_bench perft [rapido [N]]  perft of the five counted test positions, median of N
//                                        wall and processor times (the processor time is what
//                                        the other jobs of a shared machine do not stretch)
//   quorvantel_bench busqueda [N]        fixed-depth search of the benchmark positions, N runs
//   quorvantel_bench                     both, perft in its quick form
// The search benchmark's total node count is its signature: it changes only when the search does.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"
#include "consola/motor.h"
#include "generacion/perft.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "uci/control_tiempo.h"

namespace {

struct CasoPerft {
    const char* fen;
    int32_t profundidad;
    int32_t profundidadRapida;
    uint64_t esperado;
    uint64_t esperadoRapido; // 0: no known count at the quick depth
};

const CasoPerft CasosPerft[] = {
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 6, 5, 8031647685ULL,
     193690690ULL},
    {"8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1", 2, 2, 279ULL, 279ULL},
    {"8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1", 6, 5, 38633283ULL, 0},
    {"rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1", 5, 4, 11139762ULL, 0},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 7, 6, 178633661ULL, 11030083ULL},
};

const char* const PosicionesBusqueda[] = {
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

constexpr int32_t ProfundidadBusqueda = 7;

using Reloj = std::chrono::steady_clock;

double segundosDesde(Reloj::time_point inicio) {
    return std::chrono::duration<double>(Reloj::now() - inicio).count();
}

double segundosDeProcesadorDesde(std::clock_t inicio) {
    return static_cast<double>(std::clock() - inicio) / CLOCKS_PER_SEC;
}

// Output of the engine core (banner, info lines, summaries) goes nowhere while measuring.
class Silencio {
  public:
    Silencio() : anterior(std::cout.rdbuf(nulo.rdbuf())) {}
    ~Silencio() { std::cout.rdbuf(anterior); }

  private:
    std::ostringstream nulo;
    std::streambuf* anterior;
};

void cargar(Motor& motor, const char* fen) {
    establecerPosicion(*motor.tablero, PosicionFEN(fen));
}

double mediana(std::vector<double> tiempos) {
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

// Each count runs `repeticiones` times; the line shows the median wall and processor times.
bool ejecutarPerfts(Motor& motor, bool rapido, int repeticiones) {
    bool correcto = true;
    std::cout << "perft (" << (rapido ? "rapido" : "completo") << ", mediana de " << repeticiones
              << ")\n";
    int n = 1;
    for (const CasoPerft& caso : CasosPerft) {
        const int32_t profundidad = rapido ? caso.profundidadRapida : caso.profundidad;
        const uint64_t esperado = rapido ? caso.esperadoRapido : caso.esperado;
        std::vector<double> tiempos;
        std::vector<double> tiemposProcesador;
        for (int r = 0; r < repeticiones; ++r) {
            cargar(motor, caso.fen);
            nodosPerft = 0;
            const auto inicio = Reloj::now();
            const std::clock_t inicioProcesador = std::clock();
            contarPerft(*motor.tablero, motor.busqueda->listas, profundidad, 1);
            tiempos.push_back(segundosDesde(inicio));
            tiemposProcesador.push_back(segundosDeProcesadorDesde(inicioProcesador));
        }
        const double s = mediana(tiempos);
        const bool bien = esperado == 0 || nodosPerft == esperado;
        correcto = correcto && bien;
        std::cout << "  test " << n++ << " perft(" << profundidad << ") = " << nodosPerft
                  << (bien ? "" : "  ERROR, esperado " + std::to_string(esperado)) << "  "
                  << std::fixed << std::setprecision(3) << s << " s  "
                  << static_cast<uint64_t>(static_cast<double>(nodosPerft) / std::max(s, 1e-9))
                  << " nps  cpu " << mediana(tiemposProcesador) << " s\n"
                  << std::defaultfloat;
    }
    return correcto;
}

void ejecutarBusquedas(Motor& motor, int repeticiones) {
    std::vector<double> tiempos;
    uint64_t firma = 0;
    for (int r = 0; r < repeticiones; ++r) {
        uint64_t nodos = 0;
        double total = 0;
        for (const char* fen : PosicionesBusqueda) {
            cargar(motor, fen);
            motor.tablaHash->vaciar();
            motor.controlTiempo->reiniciar();
            motor.controlTiempo->depth = ProfundidadBusqueda;
            const auto inicio = Reloj::now();
            {
                Silencio silencio;
                motor.busqueda->pensar();
            }
            total += segundosDesde(inicio);
            nodos += estadisticas.nodos;
        }
        firma = nodos;
        tiempos.push_back(total);
        std::cout << "  busqueda " << r + 1 << ": " << nodos << " nodos  " << std::fixed
                  << std::setprecision(3) << total << " s  "
                  << static_cast<uint64_t>(static_cast<double>(nodos) / total) << " nps\n"
                  << std::defaultfloat;
    }
    const double s = mediana(tiempos);
    std::cout << "busqueda profundidad " << ProfundidadBusqueda << ", "
              << std::size(PosicionesBusqueda) << " posiciones: firma " << firma
              << " nodos, mediana " << std::fixed << std::setprecision(3) << s << " s, "
              << static_cast<uint64_t>(static_cast<double>(firma) / s) << " nps\n"
              << std::defaultfloat;
}

} // namespace

int main(int argc, char** argv) {
    const std::string modo = argc > 1 ? argv[1] : "";
    const std::string extra = argc > 2 ? argv[2] : "";
    const int repeticiones = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    Motor* motor;
    {
        Silencio silencio;
        motor = new Motor();
    }
    bool correcto = true;
    if (modo == "perft") {
        correcto = ejecutarPerfts(*motor, extra == "rapido", repeticiones);
    } else if (modo == "busqueda") {
        ejecutarBusquedas(*motor, extra.empty() ? 5 : std::max(1, std::stoi(extra)));
    } else {
        correcto = ejecutarPerfts(*motor, true, 1);
        ejecutarBusquedas(*motor, 3);
    }
    delete motor;
    return correcto ? 0 : 1;
}
