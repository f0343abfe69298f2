#include "tablero/movimiento.h"

#include <cctype>

namespace {

// Indexed by piece code.
constexpr char LetrasPiezas[] = ".PpNnBbRrQqKk";
constexpr char LetrasPromocion[] = ".ppnnbbrrqqkk";

} // namespace

std::string nombreCasilla(Casilla c) {
    return std::string{static_cast<char>('a' + columnaDe(c)), static_cast<char>('1' + filaDe(c))};
}

Casilla textoACasilla(const std::string& texto) {
    if (texto.size() < 2) return CasillaNula;
    const int columna = std::tolower(static_cast<unsigned char>(texto[0])) - 'a';
    const int fila = std::tolower(static_cast<unsigned char>(texto[1])) - '1';
    return columna + 8 * fila;
}

std::string letraPieza(int32_t codigo) {
    return std::string(1, LetrasPiezas[codigo]);
}

int32_t codigoDeLetra(char letra) {
    for (int32_t codigo = PeonBlanco; codigo <= ReyNegro; ++codigo)
        if (LetrasPiezas[codigo] == letra) return codigo;
    return Vacio;
}

std::string movimientoATexto(Movimiento m) {
    if (m == MovimientoNulo) return "xxxx";
    std::string texto = nombreCasilla(desdeDe(m)) + nombreCasilla(hastaDe(m));
    const int32_t promocion = piezaPromocion(m);
    if (promocion != Vacio) texto += LetrasPromocion[promocion];
    return texto;
}
