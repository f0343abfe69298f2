// Benchmarks of the engine core, run in Release:
//   quorvantel_bench perft [rapido [N]]  perft of the five counted test positions, median of N
//                                        wall and processor times (the processor time is what
//                                        the other jobs of a shared machine do not stretch)
//   quorvantel_bench busqueda [N]        fixed-depth search of the benchmark positions, N runs
//   quorvantel_bench                     both, perft in its quick form
// The search benchmark is the engine's own (`quorvantel bench` runs it once); its total node count
// is its signature: it changes only when the search does.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "busqueda/busqueda.h"
#include "consola/banco.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "generacion/perft.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

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

using Reloj = std::chrono::steady_clock;

double segundosDesde(Reloj::time_point inicio) {
    return std::chrono::duration<double>(Reloj::now() - inicio).count();
}

double segundosDeProcesadorDesde(std::clock_t inicio) {
    return static_cast<double>(std::clock() - inicio) / CLOCKS_PER_SEC;
}

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
        ResultadoBanco resultado;
        {
            SalidaSilenciada silencio;
            resultado = ejecutarBanco(motor);
        }
        firma = resultado.nodos;
        tiempos.push_back(resultado.segundos);
        std::cout << "  busqueda " << r + 1 << ": " << resultado.nodos << " nodos  " << std::fixed
                  << std::setprecision(3) << resultado.segundos << " s  "
                  << nodosPorSegundo(resultado) << " nps\n"
                  << std::defaultfloat;
    }
    const double s = mediana(tiempos);
    std::cout << "busqueda profundidad " << ProfundidadBanco << ", " << NumPosicionesBanco
              << " posiciones: firma " << firma << " nodos, mediana " << std::fixed
              << std::setprecision(3) << s << " s, " << nodosPorSegundo({firma, s}) << " nps\n"
              << std::defaultfloat;
}

} // namespace

int main(int argc, char** argv) {
    const std::string modo = argc > 1 ? argv[1] : "";
    const std::string extra = argc > 2 ? argv[2] : "";
    const int repeticiones = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    Motor* motor;
    {
        SalidaSilenciada silencio;
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
