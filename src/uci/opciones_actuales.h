#pragma once

#include <cstdint>
#include <string>

// Start-up values of the options; the UCI options are built from them.
struct OpcionesActuales {
    OpcionesActuales();

    // Prints the heading and the three values of the start-up banner.
    void imprimir() const;

    int32_t tamanoHashMB;
    std::string textoAcercaDe;
    bool resumenBusqueda;
};

extern OpcionesActuales opcionesActuales;
