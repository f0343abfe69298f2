#include "consola/motor.h"

#include <iostream>
#include <string>

#include "busqueda/busqueda.h"
#include "busqueda/tabla_hash.h"
#include "consola/version.h"
#include "generacion/tablas.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"
#include "uci/control_tiempo.h"
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

    // The process-wide tables come before any board: constructing one computes its key.
    inicializarTablas();
    inicializarZobrist();

    tablero = new Tablero(this);
    controlTiempo = new ControlTiempo(this);
    tablaHash = new TablaHash(this);
    busqueda = new Busqueda(this, tablero, tablaHash);
}

Motor::~Motor() {
    delete busqueda;
    delete tablaHash;
    delete tablero;
    delete controlTiempo;
}
