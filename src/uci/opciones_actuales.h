#pragma once

#include <cstdint>
#include <string>

// Start-up values of the options; the UCI options are built from them.
struct OpcionesActuales {
    OpcionesActuales();

    // Prints the heading, the three values and the closing line of hyphens.
    void imprimir() const;

    int32_t tamanoHashMB;
    std::string textoAcercaDe;
    bool resumenBusqueda;
};

extern OpcionesActuales opcionesActuales;
