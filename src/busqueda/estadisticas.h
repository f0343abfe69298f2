#pragma once

#include <cstdint>

// Counters of one search, printed in the summary; reset when every search starts.
struct Estadisticas {
    uint64_t nodos;
    uint64_t nodosQsearch;
    uint64_t generacionesCapturas;
    uint64_t generacionesTranquilos;
    uint64_t generacionesEvasiones;
    uint64_t extensionesJaque;
    uint64_t extensionesAmenaza;
    uint64_t extensionesRespuestaUnica;
    uint64_t cortesBeta;
    uint64_t cortesPrimerMovimiento;
    uint64_t sondeos;
    uint64_t aciertos;
    uint64_t guardados;
    uint64_t cortesHashAlfa;
    uint64_t cortesHashBeta;
    uint64_t cortesHashExacto;
    uint64_t podadosSEE;
    uint64_t intentosNulo;
    uint64_t cortesNuloMax;
    uint64_t cortesNuloMin;
};

extern Estadisticas estadisticas;

inline void reiniciarEstadisticas() {
    estadisticas = Estadisticas{};
}
