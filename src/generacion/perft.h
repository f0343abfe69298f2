#pragma once

#include <cstdint>

class Busqueda;

extern uint64_t nodosPerft;

// Deepest count the per-ply lists allow (ply 1 up to the depth).
constexpr int32_t ProfundidadMaximaPerft = 127;

void contarPerft(Busqueda& busqueda, int32_t profundidad, int32_t ply);
void ejecutarPerft(Busqueda& busqueda, int32_t profundidad);
void ejecutarDivide(Busqueda& busqueda, int32_t profundidad);
