#pragma once

#include <cstdint>

// A mate at ply p scores p - PuntuacionMate for the mated side; anything beyond the threshold
// on either side is a mate score.
constexpr int32_t PuntuacionMate = 32768;
constexpr int32_t UmbralMate = 32268;

// Bound types of a stored score.
constexpr int32_t CotaSuperior = 1;
constexpr int32_t CotaInferior = 2;
constexpr int32_t CotaExacta = 3;

// Repetition, fifty-move rule and stalemate.
constexpr int32_t PuntuacionTablas = 0;

// Depths count eighths of a ply.
constexpr int32_t UnPly = 8;

// A fifty-move counter above this makes a node that found no cutoff a draw.
constexpr int32_t LimiteRegla50 = 100;
