#pragma once

#include <cstdint>

class Motor;

// The search benchmark: twenty positions, each searched to a fixed depth from a cleared table.
// Its total node count is the search's signature; it changes only when the search does.
constexpr int32_t ProfundidadBanco = 7;
constexpr int NumPosicionesBanco = 20;

struct ResultadoBanco {
    uint64_t nodos;
    double segundos;
};

// Runs the benchmark on the engine's own objects, leaving the position on the last one.
ResultadoBanco ejecutarBanco(Motor& motor);
// The nodes per second of a run, 0 for a run too short to time.
uint64_t nodosPorSegundo(const ResultadoBanco& resultado);

// The "bench" command-line mode: builds an engine, runs the benchmark once with the engine's
// output silenced and prints "<nodes> nodes <nps> nps", the form test frameworks read.
void bancoDeLineaDeOrdenes();
