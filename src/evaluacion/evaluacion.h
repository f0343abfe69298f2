#pragma once

#include <cstdint>

#include "evaluacion/tablas_evaluacion.h"
#include "tablero/tablero.h"

// Score in centipawns from the point of view of the side to move.
int32_t evaluar(const Tablero& t);
