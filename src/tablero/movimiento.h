#pragma once

#include <cstdint>
#include <string>

#include "tablero/tipos.h"

// A move packed in one word: from (bits 0-5), to (6-11), moving piece (12-15),
// captured piece (16-19), promotion piece (20-23), castling kind (24-27),
// en-passant flag (28). 0 means no move.
using Movimiento = uint32_t;

constexpr Movimiento MovimientoNulo = 0;

constexpr Movimiento EnroqueE1G1 = 0x100B184;
constexpr Movimiento EnroqueE1C1 = 0x400B084;
constexpr Movimiento EnroqueE8G8 = 0x200CFBC;
constexpr Movimiento EnroqueE8C8 = 0x800CEBC;

constexpr Movimiento crearMovimiento(Casilla desde, Casilla hasta, int32_t pieza,
                                     int32_t capturada = Vacio, int32_t promocion = Vacio) {
    return static_cast<Movimiento>(desde) | (static_cast<Movimiento>(hasta) << 6) |
           (static_cast<Movimiento>(pieza) << 12) | (static_cast<Movimiento>(capturada) << 16) |
           (static_cast<Movimiento>(promocion) << 20);
}
constexpr Movimiento crearAlPaso(Casilla desde, Casilla hasta, int32_t pieza, int32_t capturada) {
    return crearMovimiento(desde, hasta, pieza, capturada) | (1u << 28);
}

constexpr Casilla desdeDe(Movimiento m) {
    return static_cast<Casilla>(m & 63);
}
constexpr Casilla hastaDe(Movimiento m) {
    return static_cast<Casilla>((m >> 6) & 63);
}
constexpr int32_t piezaMovida(Movimiento m) {
    return static_cast<int32_t>((m >> 12) & 15);
}
constexpr int32_t piezaCapturada(Movimiento m) {
    return static_cast<int32_t>((m >> 16) & 15);
}
constexpr int32_t piezaPromocion(Movimiento m) {
    return static_cast<int32_t>((m >> 20) & 15);
}
constexpr int32_t tipoEnroque(Movimiento m) {
    return static_cast<int32_t>((m >> 24) & 15);
}
constexpr bool esAlPaso(Movimiento m) {
    return ((m >> 28) & 1) != 0;
}
// Neither a promotion, a castling nor an en-passant capture: the move takes one piece from one
// square to another, capturing whatever stood there.
constexpr bool esMovimientoSencillo(Movimiento m) {
    return (m >> 20) == 0;
}
constexpr int colorMovimiento(Movimiento m) {
    return static_cast<int>((~(m >> 12)) & 1);
}

std::string nombreCasilla(Casilla c);
Casilla textoACasilla(const std::string& texto);
std::string letraPieza(int32_t codigo);
// The piece code of a FEN letter ("PNBRQK" white, "pnbrqk" black); 0 for any other character.
int32_t codigoDeLetra(char letra);
std::string movimientoATexto(Movimiento m);
