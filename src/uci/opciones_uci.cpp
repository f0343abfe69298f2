#include "busqueda/busqueda.h"
#include "busqueda/tabla_hash.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/texto.h"
#include "uci/opciones.h"
#include "uci/opciones_actuales.h"

// The option name runs from one character after "name" to the blank before the following
// "value", or to the end of the text.
std::string nombreOpcion(const std::string& argumentos) {
    const std::size_t posicionName = argumentos.find("name");
    if (posicionName == std::string::npos) return std::string();
    const std::size_t inicio = posicionName + 5;
    if (inicio > argumentos.size()) return std::string();
    const std::size_t posicionValue = argumentos.find("value", inicio);
    if (posicionValue == std::string::npos) return argumentos.substr(inicio);
    if (posicionValue < inicio + 1) return std::string();
    return argumentos.substr(inicio, posicionValue - 1 - inicio);
}

// The value text runs from one character after the first "value" to the end; a line without
// "value" gives an empty value.
std::string valorOpcion(const std::string& argumentos) {
    const std::size_t posicionValue = argumentos.find("value");
    if (posicionValue == std::string::npos || posicionValue + 6 > argumentos.size())
        return std::string();
    return argumentos.substr(posicionValue + 6);
}

void ConsolaUCI::comandoSetoption(const std::string& argumentos) {
    if (argumentos.find("name") == std::string::npos) return;
    const std::string nombre = nombreOpcion(argumentos);
    for (OpcionUCI* opcion : opciones) {
        if (opcion->nombre != nombre) continue;
        opcion->asignar(valorOpcion(argumentos));
        return;
    }
}

void ConsolaUCI::cambiarHash(const std::string& valor) {
    const int32_t megabytes = textoAEntero(valor);
    if (megabytes != 0) motor->tablaHash->redimensionar(static_cast<uint32_t>(megabytes));
}

void ConsolaUCI::cambiarLimpiarHash(const std::string&) {
    motor->tablaHash->vaciar();
}

void ConsolaUCI::cambiarAcercaDe(const std::string& valor) {
    opcionesActuales.textoAcercaDe = valor;
}

void ConsolaUCI::cambiarResumen(const std::string& valor) {
    if (valor == "true")
        motor->busqueda->setResumen(true);
    else if (valor == "false")
        motor->busqueda->setResumen(false);
}
