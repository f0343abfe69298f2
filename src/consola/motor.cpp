#include "consola/motor.h"

#include <iostream>
#include <string>

#include "consola/version.h"
#include "uci/opciones_actuales.h"

Motor::Motor() {
    const std::string guiones(64, '-');
    std::cout << guiones << std::endl;
    std::cout << "Quorvantel - Programa de Ajedrez En Continuo Desarrollo" << std::endl;
    std::cout << "Version: " << TextoVersion << std::endl;
    std::cout << "Version De Desarrollo Al: " << FechaCompilacion << std::endl;
    std::cout << guiones << std::endl;

    opcionesActuales = OpcionesActuales();
    opcionesActuales.imprimir();

    // Process-wide tables go here, before any board exists: attack and geometry tables, then
    // the Zobrist keys.

    // Owned objects go here, in this order: board (start position), time control, hash table
    // of 2 MB, search.
}

Motor::~Motor() {
    // Owned objects are released here, in this order: search, hash table, board, time control.
}
