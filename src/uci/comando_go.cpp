#include <string>
#include <vector>

#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"
#include "uci/control_tiempo.h"

namespace {

// A value below zero counts as zero: a clock that has run out gives no time rather than the huge
// budget its unsigned pattern would.
uint32_t noNegativo(const std::string& texto) {
    const int32_t valor = textoAEntero(texto);
    return valor < 0 ? 0u : static_cast<uint32_t>(valor);
}

// The keywords whose value is a count that cannot be negative, and the field each fills; none for
// the limits the search has no use for.
struct Limite {
    const char* clave;
    uint32_t ControlTiempo::*campo;
};
constexpr Limite Limites[] = {
    {"wtime", &ControlTiempo::wtime},
    {"btime", &ControlTiempo::btime},
    {"winc", &ControlTiempo::winc},
    {"binc", &ControlTiempo::binc},
    {"movestogo", &ControlTiempo::movestogo},
    {"movetime", &ControlTiempo::movetime},
    {"nodes", nullptr},
    {"mate", nullptr},
};

// Applies a keyword that takes the following word as its value; false for any other word.
bool aplicarLimite(ControlTiempo& control, const std::string& clave, const std::string& valor) {
    if (clave == "depth") {
        control.depth = textoAEntero(valor);
        return true;
    }
    for (const Limite& limite : Limites) {
        if (clave != limite.clave) continue;
        if (limite.campo != nullptr) control.*limite.campo = noNegativo(valor);
        return true;
    }
    return false;
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
        // A value is consumed with its keyword and never read as a keyword itself.
        if (palabra == "infinite")
            control.infinite = true;
        else if (palabra == "searchmoves" && hayValor)
            ++i;
        else if (hayValor && aplicarLimite(control, palabra, palabras[i + 1]))
            ++i;
    }

    liberarLineaActual();
    buscando = true;
    const Movimiento mejor = motor->busqueda->pensar();
    buscando = false;
    escribirLinea("bestmove " + movimientoATexto(mejor));
    if (!reproduciendo) ejecutarPendientes();
}
