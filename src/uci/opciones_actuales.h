#pragma once

#include <cstdint>
#include <string>

// Start-up values of the options; the UCI options are built from them.
struct OpcionesActuales {
    OpcionesActuales();

    // Prints the five lines of the start-up option summary.
    void imprimir() const;

    int32_t tamanoHashMB;
    std::string textoAcercaDe;
    bool resumenBusqueda;
};

extern OpcionesActuales opcionesActuales;
