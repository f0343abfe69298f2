#include "uci/opciones_actuales.h"

#include <iostream>

#include "consola/texto.h"
#include "consola/version.h"

OpcionesActuales opcionesActuales;

OpcionesActuales::OpcionesActuales()
    : tamanoHashMB(2),
      textoAcercaDe(std::string("Quorvantel Alpha [") + TextoVersion + "] by Ostrikel"),
      resumenBusqueda(true) {}

void OpcionesActuales::imprimir() const {
    std::cout << "OPCIONES ACTUALES:" << std::endl;
    std::cout << "Tabla Hash: " << tamanoHashMB << " MBs" << std::endl;
    std::cout << "UCIEngineAbout: " << textoAcercaDe << std::endl;
    std::cout << "ResumenBusqueda: " << boolATexto(resumenBusqueda) << std::endl;
    std::cout << std::string(64, '-') << std::endl;
}
