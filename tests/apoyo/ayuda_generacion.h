#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/tablero.h"

// Move lists of the engine in the shapes the generator tests compare.
namespace ayuda {

inline ListaMovimientos listaVacia(Tablero& t) {
    ListaMovimientos lista;
    lista.tablero = &t;
    lista.busqueda = nullptr;
    lista.ply = 0;
    lista.siguiente = 0;
    lista.cantidad = 0;
    lista.puntuacionActual = 0;
    lista.modo = ModoTodos;
    lista.etapa = 0;
    return lista;
}

inline std::vector<Movimiento> comoVector(const ListaMovimientos& lista) {
    std::vector<Movimiento> movimientos;
    for (int i = 0; i < lista.cantidad; ++i) movimientos.push_back(lista.movimientos[i]);
    return movimientos;
}

inline std::vector<Movimiento> capturas(Tablero& t) {
    ListaMovimientos lista = listaVacia(t);
    generarCapturas(lista, t);
    return comoVector(lista);
}

inline std::vector<Movimiento> tranquilos(Tablero& t) {
    ListaMovimientos lista = listaVacia(t);
    generarTranquilos(lista, t);
    return comoVector(lista);
}

// Captures then quiet moves, the order perft and move matching see.
inline std::vector<Movimiento> pseudoLegales(Tablero& t) {
    ListaMovimientos lista = listaVacia(t);
    generarCapturas(lista, t);
    generarTranquilos(lista, t);
    return comoVector(lista);
}

inline std::vector<Movimiento> evasiones(Tablero& t) {
    ListaMovimientos lista = listaVacia(t);
    generarEvasiones(lista, t);
    return comoVector(lista);
}

// The pseudo-legal moves that do not leave the mover's king attacked, in generation order.
inline std::vector<Movimiento> legales(Tablero& t) {
    const std::vector<Movimiento> pseudo = pseudoLegales(t);
    std::vector<Movimiento> resultado;
    for (Movimiento m : pseudo) {
        t.hacerMovimiento(m);
        if (!dejaReyEnJaque(t)) resultado.push_back(m);
        t.deshacerMovimiento();
    }
    return resultado;
}

inline std::vector<std::string> textos(const std::vector<Movimiento>& movimientos) {
    std::vector<std::string> resultado;
    for (Movimiento m : movimientos) resultado.push_back(movimientoATexto(m));
    return resultado;
}

inline std::vector<std::string> textosOrdenados(const std::vector<Movimiento>& movimientos) {
    std::vector<std::string> resultado = textos(movimientos);
    std::sort(resultado.begin(), resultado.end());
    return resultado;
}

inline std::vector<Movimiento> ordenados(std::vector<Movimiento> movimientos) {
    std::sort(movimientos.begin(), movimientos.end());
    return movimientos;
}

} // namespace ayuda
