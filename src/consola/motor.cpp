#include "consola/motor.h"

#include <string>

#include "busqueda/busqueda.h"
#include "busqueda/tabla_hash.h"
#include "consola/salida.h"
#include "consola/version.h"
#include "generacion/tablas.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"
#include "uci/control_tiempo.h"
#include "uci/opciones_actuales.h"

namespace {

// The program's name, version and build date between two lines of hyphens.
void imprimirBanner() {
    escribirGuiones();
    escribirLinea("Quorvantel - Programa de Ajedrez En Continuo Desarrollo");
    escribirLinea(std::string("Version: ") + TextoVersion);
    escribirLinea(std::string("Version De Desarrollo Al: ") + FechaCompilacion);
    escribirGuiones();
}

} // namespace

Motor::Motor() {
    imprimirBanner();
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
