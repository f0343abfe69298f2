#include "apoyo/consistencia.h"

#include <sstream>

#include "evaluacion/tablas_evaluacion.h"
#include "generacion/tablas.h"
#include "tablero/movimiento.h"
#include "tablero/zobrist.h"

namespace {

bool fallo(std::string* motivo, const std::string& texto) {
    if (motivo) *motivo = texto;
    return false;
}

template <typename T> std::string describir(const char* campo, T esperado, T obtenido) {
    std::ostringstream texto;
    texto << campo << ": esperado " << esperado << ", obtenido " << obtenido;
    return texto.str();
}

} // namespace

bool tableroConsistente(const Tablero& t, std::string* motivo, bool comprobarClave) {
    if (t.casillaAlPaso < 0 || t.casillaAlPaso > CasillaNula)
        return fallo(motivo, describir("casillaAlPaso fuera de rango", 0, t.casillaAlPaso));
    if (t.derechosEnroque < 0 || t.derechosEnroque > 15)
        return fallo(motivo, describir("derechosEnroque fuera de rango", 0, t.derechosEnroque));
    if (t.numHistorial < 0 || t.numHistorial > CapacidadHistorial)
        return fallo(motivo, describir("numHistorial fuera de rango", 0, t.numHistorial));

    Bitboard blancas = 0;
    Bitboard negras = 0;
    Bitboard porPieza[NumCodigosPieza] = {};
    int32_t material[2] = {};
    int32_t valorPiezas[2] = {};
    int32_t totalPeones[2] = {};
    int32_t valorCasillas = 0;
    for (Casilla s = 0; s < 64; ++s) {
        const int32_t p = t.piezas[s];
        if (p == Vacio) continue;
        if (p < PeonBlanco || p > ReyNegro)
            return fallo(motivo, "codigo de pieza invalido en " + nombreCasilla(s));
        const int c = colorPieza(p);
        (c == Blanco ? blancas : negras) |= MascaraCasilla[s];
        porPieza[p] |= MascaraCasilla[s];
        material[c] += ValorMaterial[p];
        valorPiezas[c] += ValorPiezas[p];
        totalPeones[c] += CuentaPeones[p];
        valorCasillas += ValorCasilla[p][s];
    }
    if (blancas != t.piezasBlancas)
        return fallo(motivo, describir("piezasBlancas", blancas, t.piezasBlancas));
    if (negras != t.piezasNegras)
        return fallo(motivo, describir("piezasNegras", negras, t.piezasNegras));
    for (int32_t p = PeonBlanco; p <= DamaNegra; ++p)
        if (porPieza[p] != t.bitboardsPieza[p])
            return fallo(motivo, describir(("bitboardsPieza " + letraPieza(p)).c_str(), porPieza[p],
                                           t.bitboardsPieza[p]));
    for (int c = 0; c < 2; ++c) {
        if (material[c] != t.material[c])
            return fallo(motivo, describir("material", material[c], t.material[c]));
        if (valorPiezas[c] != t.valorPiezas[c])
            return fallo(motivo, describir("valorPiezas", valorPiezas[c], t.valorPiezas[c]));
        if (totalPeones[c] != t.totalPeones[c])
            return fallo(motivo, describir("totalPeones", totalPeones[c], t.totalPeones[c]));
        // With several kings of a colour the set-up keeps the last one in square order.
        const Bitboard reyes = porPieza[c == Blanco ? ReyBlanco : ReyNegro];
        if (reyes != 0 && 63 - __builtin_clzll(reyes) != t.casillaRey[c])
            return fallo(motivo,
                         describir("casillaRey", 63 - __builtin_clzll(reyes), t.casillaRey[c]));
    }
    if (valorCasillas != t.valorCasillas)
        return fallo(motivo, describir("valorCasillas", valorCasillas, t.valorCasillas));
    const Bitboard ocupacion = blancas | negras;
    if (Tablero::aRotado90(ocupacion) != t.Rotado90)
        return fallo(motivo, describir("Rotado90", Tablero::aRotado90(ocupacion), t.Rotado90));
    if (Tablero::aRotado45(ocupacion) != t.Rotado45)
        return fallo(motivo, describir("Rotado45", Tablero::aRotado45(ocupacion), t.Rotado45));
    if (Tablero::aRotado315(ocupacion) != t.Rotado315)
        return fallo(motivo, describir("Rotado315", Tablero::aRotado315(ocupacion), t.Rotado315));
    if (comprobarClave && calcularHashKey(t) != t.hashKey)
        return fallo(motivo, describir("hashKey", calcularHashKey(t), t.hashKey));
    return true;
}

bool tablerosIguales(const Tablero& a, const Tablero& b, std::string* diferencia) {
    for (Casilla s = 0; s < 64; ++s)
        if (a.piezas[s] != b.piezas[s])
            return fallo(diferencia, describir(("piezas " + nombreCasilla(s)).c_str(), a.piezas[s],
                                               b.piezas[s]));
    if (a.ladoQueMueve != b.ladoQueMueve)
        return fallo(diferencia, describir("ladoQueMueve", a.ladoQueMueve, b.ladoQueMueve));
    if (a.casillaAlPaso != b.casillaAlPaso)
        return fallo(diferencia, describir("casillaAlPaso", a.casillaAlPaso, b.casillaAlPaso));
    if (a.derechosEnroque != b.derechosEnroque)
        return fallo(diferencia,
                     describir("derechosEnroque", a.derechosEnroque, b.derechosEnroque));
    if (a.movidasRegla50 != b.movidasRegla50)
        return fallo(diferencia, describir("movidasRegla50", a.movidasRegla50, b.movidasRegla50));
    if (a.hashKey != b.hashKey)
        return fallo(diferencia, describir("hashKey", a.hashKey, b.hashKey));
    for (int c = 0; c < 2; ++c) {
        if (a.material[c] != b.material[c])
            return fallo(diferencia, describir("material", a.material[c], b.material[c]));
        if (a.valorPiezas[c] != b.valorPiezas[c])
            return fallo(diferencia, describir("valorPiezas", a.valorPiezas[c], b.valorPiezas[c]));
        if (a.totalPeones[c] != b.totalPeones[c])
            return fallo(diferencia, describir("totalPeones", a.totalPeones[c], b.totalPeones[c]));
        if (a.casillaRey[c] != b.casillaRey[c])
            return fallo(diferencia, describir("casillaRey", a.casillaRey[c], b.casillaRey[c]));
    }
    if (a.valorCasillas != b.valorCasillas)
        return fallo(diferencia, describir("valorCasillas", a.valorCasillas, b.valorCasillas));
    if (a.numHistorial != b.numHistorial)
        return fallo(diferencia, describir("numHistorial", a.numHistorial, b.numHistorial));
    if (a.piezasBlancas != b.piezasBlancas)
        return fallo(diferencia, describir("piezasBlancas", a.piezasBlancas, b.piezasBlancas));
    if (a.piezasNegras != b.piezasNegras)
        return fallo(diferencia, describir("piezasNegras", a.piezasNegras, b.piezasNegras));
    for (int32_t p = PeonBlanco; p <= DamaNegra; ++p)
        if (a.bitboardsPieza[p] != b.bitboardsPieza[p])
            return fallo(diferencia, describir(("bitboardsPieza " + letraPieza(p)).c_str(),
                                               a.bitboardsPieza[p], b.bitboardsPieza[p]));
    if (a.Rotado90 != b.Rotado90)
        return fallo(diferencia, describir("Rotado90", a.Rotado90, b.Rotado90));
    if (a.Rotado45 != b.Rotado45)
        return fallo(diferencia, describir("Rotado45", a.Rotado45, b.Rotado45));
    if (a.Rotado315 != b.Rotado315)
        return fallo(diferencia, describir("Rotado315", a.Rotado315, b.Rotado315));
    return true;
}
