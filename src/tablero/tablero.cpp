#include "tablero/tablero.h"

#include "evaluacion/tablas_evaluacion.h"
#include "generacion/tablas.h"
#include "tablero/fen.h"
#include "tablero/zobrist.h"

const int32_t ValorMaterial[NumCodigosPieza] = {0,   100, 100, 300, 300, 350, 350,
                                                500, 500, 900, 900, 0,   0,   0};
const int32_t ValorPiezas[NumCodigosPieza] = {0, 0, 0, 3, 3, 3, 3, 5, 5, 9, 9, 0, 0, 0};
const int32_t CuentaPeones[NumCodigosPieza] = {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

Tablero::Tablero(Motor* motor)
    : motor(motor), piezas{}, ladoQueMueve(true), casillaAlPaso(CasillaNula), derechosEnroque(0),
      movidasRegla50(0),
      hashKey(0), material{}, valorPiezas{}, totalPeones{}, casillaRey{}, historial{},
      numHistorial(0), piezasBlancas(0), piezasNegras(0), bitboardsPieza{}, Rotado90(0),
      Rotado45(0), Rotado315(0), valorCasillas(0) {
    for (RegistroHistorial& registro : historial) ponerEstadoInicial(registro);
    posicionInicial(*this);
}

void Tablero::limpiar() {
    for (int32_t& p : piezas) p = Vacio;
    ponerEstadoInicial(*this);
    numHistorial = 0;
    for (int c = 0; c < 2; ++c) material[c] = valorPiezas[c] = totalPeones[c] = 0;
    hashKey = 0;
}

void Tablero::recalcularDerivados() {
    piezasBlancas = piezasNegras = 0;
    for (Bitboard& bb : bitboardsPieza) bb = 0;
    valorCasillas = 0;
    for (Casilla s = 0; s < 64; ++s) {
        const int32_t p = piezas[s];
        if (p == Vacio) continue;
        bitboardsPieza[p] |= MascaraCasilla[s];
        valorCasillas += ValorCasilla[p][s];
        if (colorPieza(p) == Blanco)
            piezasBlancas |= MascaraCasilla[s];
        else
            piezasNegras |= MascaraCasilla[s];
        agregarMaterial(p);
    }
    const Bitboard ocupacion = ocupadas();
    Rotado90 = aRotado90(ocupacion);
    Rotado45 = aRotado45(ocupacion);
    Rotado315 = aRotado315(ocupacion);
    hashKey = calcularHashKey(*this);
}

namespace {

Bitboard rotar(Bitboard bb, const Bitboard* mascaras) {
    Bitboard resultado = 0;
    for (Casilla s = 0; s < 64; ++s)
        if (bb & MascaraCasilla[s]) resultado |= mascaras[s];
    return resultado;
}

} // namespace

Bitboard Tablero::aRotado90(Bitboard bb) {
    return rotar(bb, MascaraRotado90);
}
Bitboard Tablero::aRotado45(Bitboard bb) {
    return rotar(bb, MascaraRotado45);
}
Bitboard Tablero::aRotado315(Bitboard bb) {
    return rotar(bb, MascaraRotado315);
}
