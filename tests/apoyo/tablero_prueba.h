#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"

// Boards and move lists in the shapes the tests compare.
namespace ayuda {

using Movimientos = std::vector<Movimiento>;

constexpr Casilla cs(const char* n) {
    return (n[0] - 'a') + 8 * (n[1] - '1');
}

// A board without engine holding the FEN position; the process-wide tables are filled once.
inline std::unique_ptr<Tablero> tableroDesdeFEN(const std::string& fen) {
    static const bool tablas = (inicializarTablas(), inicializarZobrist(), true);
    (void)tablas;
    auto t = std::make_unique<Tablero>(nullptr);
    establecerPosicion(*t, PosicionFEN(fen));
    return t;
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

// The moves in coordinate notation, separated by blanks.
inline std::string texto(const Movimientos& movimientos) {
    std::string resultado;
    for (Movimiento m : movimientos)
        resultado += (resultado.empty() ? "" : " ") + movimientoATexto(m);
    return resultado;
}

inline Movimientos ordenados(Movimientos movimientos) {
    std::sort(movimientos.begin(), movimientos.end());
    return movimientos;
}

} // namespace ayuda
