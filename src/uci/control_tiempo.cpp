#include "uci/control_tiempo.h"

#include "consola/texto.h"
#include "tablero/tipos.h"

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

void ControlTiempo::reiniciar() {
    wtime = btime = winc = binc = movetime = movestogo = 0;
    infinite = false;
    depth = 0;
}

void ControlTiempo::leerPalabras(const std::vector<std::string>& palabras) {
    reiniciar();
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        const std::string& palabra = palabras[i];
        const bool hayValor = i + 1 < palabras.size();
        // A value is consumed with its keyword and never read as a keyword itself.
        if (palabra == "infinite")
            infinite = true;
        else if (palabra == "searchmoves" && hayValor)
            ++i;
        else if (hayValor && aplicarLimite(*this, palabra, palabras[i + 1]))
            ++i;
    }
}

// The milliseconds one search of side `bando` may take: a fixed move time when one was given,
// else an even share of the clock over the moves left to the next time control, else a sixtieth
// of the clock plus the increment. The whole budget is used; nothing is held back.
uint32_t ControlTiempo::tiempoAsignado(int bando) const {
    const uint32_t reloj = bando == Blanco ? wtime : btime;
    const uint32_t incremento = bando == Blanco ? winc : binc;
    if (movetime != 0) return movetime;
    // A "movestogo" of -1 wraps its successor to 0; treat it as no moves-to-go count
    // rather than divide by zero.
    if (movestogo != 0 && movestogo + 1 != 0) return reloj / (movestogo + 1);
    return reloj / 60 + incremento;
}
