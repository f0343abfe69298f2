#include <string>
#include <vector>

#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"
#include "uci/control_tiempo.h"

void ConsolaUCI::comandoGo(const std::string& argumentos) {
    const std::vector<std::string> palabras = dividirPalabras(argumentos, " ");
    if (palabras.empty()) {
        liberarLineaActual();
        return;
    }
    motor->controlTiempo->leerPalabras(palabras);

    liberarLineaActual();
    buscando = true;
    const Movimiento mejor = motor->busqueda->pensar();
    buscando = false;
    escribirLinea("bestmove " + movimientoATexto(mejor));
    if (!reproduciendo) ejecutarPendientes();
}
