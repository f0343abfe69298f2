#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/tablero.h"

// Move lists of the engine in the shapes the tests compare.
namespace ayuda {

using Movimientos = std::vector<Movimiento>;
using Textos = std::vector<std::string>;

constexpr Casilla cs(const char* n) {
    return (n[0] - 'a') + 8 * (n[1] - '1');
}
constexpr Bitboard bit(const char* n) {
    return Bitboard{1} << cs(n);
}

constexpr int Capturas = 1, Tranquilos = 2, PseudoLegales = 3, Evasiones = 4;

// The chosen generators, in the order captures, quiet moves, evasions, on one list.
inline Movimientos generar(const Tablero& t, int cuales) {
    ListaMovimientos lista{};
    if (cuales & Capturas) generarCapturas(lista, t);
    if (cuales & Tranquilos) generarTranquilos(lista, t);
    if (cuales & Evasiones) generarEvasiones(lista, t);
    Movimientos resultado;
    for (int i = 0; i < lista.cantidad; ++i) resultado.push_back(lista.movimientos[i]);
    return resultado;
}

// The pseudo-legal moves that do not leave the mover's king attacked, in generation order.
inline Movimientos legales(Tablero& t) {
    Movimientos resultado;
    for (Movimiento m : generar(t, PseudoLegales)) {
        t.hacerMovimiento(m);
        if (!dejaReyEnJaque(t)) resultado.push_back(m);
        t.deshacerMovimiento();
    }
    return resultado;
}

inline Textos textos(const Movimientos& movimientos) {
    Textos resultado;
    for (Movimiento m : movimientos) resultado.push_back(movimientoATexto(m));
    return resultado;
}

inline Movimientos ordenados(Movimientos movimientos) {
    std::sort(movimientos.begin(), movimientos.end());
    return movimientos;
}

inline bool contiene(const Textos& lista, const std::string& texto) {
    return std::find(lista.begin(), lista.end(), texto) != lista.end();
}

} // namespace ayuda
