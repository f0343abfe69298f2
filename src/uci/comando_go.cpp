#include <string>
#include <vector>

#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"
#include "uci/control_tiempo.h"

namespace {

// A clock value below zero means the time is gone: it gives no time rather than the huge
// budget its unsigned pattern would.
uint32_t milisegundos(const std::string& texto) {
    const int32_t valor = textoAEntero(texto);
    return valor < 0 ? 0u : static_cast<uint32_t>(valor);
}

// Applies a keyword that takes a value; false for any other word.
bool aplicarLimite(ControlTiempo& control, const std::string& clave, const std::string& valor) {
    if (clave == "wtime")
        control.setWtime(milisegundos(valor));
    else if (clave == "btime")
        control.setBtime(milisegundos(valor));
    else if (clave == "winc")
        control.setWinc(milisegundos(valor));
    else if (clave == "binc")
        control.setBinc(milisegundos(valor));
    else if (clave == "movestogo")
        control.setMovestogo(milisegundos(valor));
    else if (clave == "movetime")
        control.setMovetime(milisegundos(valor));
    else if (clave == "depth")
        control.setDepth(textoAEntero(valor));
    else if (clave != "nodes" && clave != "mate")
        return false;
    return true;
}

bool llevaValor(const std::string& palabra) {
    return palabra == "wtime" || palabra == "btime" || palabra == "winc" || palabra == "binc" ||
           palabra == "movestogo" || palabra == "movetime" || palabra == "depth" ||
           palabra == "nodes" || palabra == "mate";
}

} // namespace

void ConsolaUCI::comandoGo(const std::string& argumentos) {
    const std::vector<std::string> palabras = dividirPalabras(argumentos, " ");
    if (palabras.empty()) {
        liberarLineaActual();
        return;
    }
    ControlTiempo& control = *motor->controlTiempo;
    control.reiniciar();
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        const std::string& palabra = palabras[i];
        const bool hayValor = i + 1 < palabras.size();
        if (palabra == "infinite") {
            control.setInfinite(true);
        } else if (palabra == "searchmoves") {
            if (hayValor) ++i;
        } else if (llevaValor(palabra) && hayValor) {
            aplicarLimite(control, palabra, palabras[i + 1]);
            ++i;
        }
    }

    liberarLineaActual();
    buscando = true;
    const Movimiento mejor = motor->busqueda->pensar();
    buscando = false;
    escribirLinea("bestmove " + movimientoATexto(mejor));
    if (!reproduciendo) ejecutarPendientes();
}
