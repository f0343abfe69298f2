#include "uci/opciones_actuales.h"

#include "consola/salida.h"
#include "consola/texto.h"
#include "consola/version.h"

OpcionesActuales opcionesActuales;

OpcionesActuales::OpcionesActuales()
    : tamanoHashMB(2), textoAcercaDe(nombreMotor() + " by " + AutorMotor), resumenBusqueda(true) {}

void OpcionesActuales::imprimir() const {
    escribirLinea("OPCIONES ACTUALES:");
    escribirLinea("Tabla Hash: " + std::to_string(tamanoHashMB) + " MBs");
    escribirLinea("UCIEngineAbout: " + textoAcercaDe);
    escribirLinea("ResumenBusqueda: " + boolATexto(resumenBusqueda));
    escribirGuiones();
}
