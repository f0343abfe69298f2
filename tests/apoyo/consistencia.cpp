#include "apoyo/consistencia.h"

#include <algorithm>
#include <array>
#include <utility>

#include "tablero/movimiento.h"

namespace {

// Field values in a fixed order, gathered without allocating: the walks compare boards twice
// for every move they make. The names are kept only for the message.
struct Campos {
    std::array<uint64_t, 64> valores;
    std::array<const char*, 64> nombres;
    std::size_t cantidad = 0;
    void operator()(const char* nombre, uint64_t valor) {
        nombres[cantidad] = nombre;
        valores[cantidad++] = valor;
    }
};

// The fields recalcularDerivados rebuilds, but for the king boards, which make leaves stale;
// with `estado`, also the rest of what make and unmake keep, but for the piece array.
void campos(const Tablero& t, Campos& c, bool estado) {
    c("piezasBlancas", t.piezasBlancas);
    c("piezasNegras", t.piezasNegras);
    c("Rotado90", t.Rotado90);
    c("Rotado45", t.Rotado45);
    c("Rotado315", t.Rotado315);
    c("hashKey", t.hashKey);
    for (int32_t p = PeonBlanco; p <= DamaNegra; ++p) c("bitboardsPieza", t.bitboardsPieza[p]);
    for (int k = 0; k < 2; ++k) {
        c("material", t.material[k]);
        c("valorPiezas", t.valorPiezas[k]);
        c("totalPeones", t.totalPeones[k]);
        if (estado) c("casillaRey", t.casillaRey[k]);
    }
    c("valorCasillas", static_cast<uint64_t>(t.valorCasillas));
    if (!estado) return;
    c("ladoQueMueve", t.ladoQueMueve);
    c("casillaAlPaso", t.casillaAlPaso);
    c("derechosEnroque", t.derechosEnroque);
    c("movidasRegla50", t.movidasRegla50);
    c("numHistorial", t.numHistorial);
}

// Empty when both boards give the same values; else the first field that differs.
std::string primeraDistinta(const Tablero& a, const Tablero& b, bool estado) {
    Campos de_a, de_b;
    campos(a, de_a, estado);
    campos(b, de_b, estado);
    for (std::size_t i = 0; i < de_a.cantidad; ++i)
        if (de_a.valores[i] != de_b.valores[i])
            return std::string(de_a.nombres[i]) + " (campo " + std::to_string(i) +
                   "): " + std::to_string(de_a.valores[i]) + " frente a " +
                   std::to_string(de_b.valores[i]);
    return "";
}

std::string comprobar(const Tablero& t, bool conClave, bool conReyes) {
    if (std::any_of(t.piezas, t.piezas + 64, [](int32_t p) { return p < Vacio || p > ReyNegro; }))
        return "codigo de pieza invalido";
    if (t.casillaAlPaso < 0 || t.casillaAlPaso > CasillaNula || t.derechosEnroque < 0 ||
        t.derechosEnroque > 15)
        return "estado fuera de rango";
    // Set-up keeps the last king of a colour in square order.
    for (int c = 0; c < 2 && conReyes; ++c)
        for (Casilla s = 63; s >= 0; --s)
            if (t.piezas[s] == ReyBlanco + c) {
                if (t.casillaRey[c] != s) return "casillaRey " + std::to_string(c);
                break;
            }
    // The recomputation adds to the counters, so it starts, as set-up does, from a clear board.
    static Tablero* const copia = new Tablero(nullptr);
    copia->limpiar();
    std::copy(t.piezas, t.piezas + 64, copia->piezas);
    copia->ladoQueMueve = t.ladoQueMueve;
    copia->casillaAlPaso = t.casillaAlPaso;
    copia->derechosEnroque = t.derechosEnroque;
    copia->recalcularDerivados();
    if (!conClave) copia->hashKey = t.hashKey;
    return primeraDistinta(t, *copia, false);
}

} // namespace

std::string inconsistencia(const Tablero& t, bool conClave) {
    return comprobar(t, conClave, true);
}

std::string inconsistenciaSinReyes(const Tablero& t) {
    return comprobar(t, true, false);
}

std::string diferencia(const Tablero& a, const Tablero& b) {
    const auto distinta = std::mismatch(a.piezas, a.piezas + 64, b.piezas).first;
    if (distinta != a.piezas + 64) return "piezas " + nombreCasilla(Casilla(distinta - a.piezas));
    return primeraDistinta(a, b, true);
}
