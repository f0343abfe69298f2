#pragma once

#include <cstdint>

#include "tablero/movimiento.h"

class Tablero;
class Busqueda;

constexpr int CapacidadLista = 256;

// Generation modes of a list.
constexpr int32_t ModoTodos = 0;
constexpr int32_t ModoBusqueda = 1;
constexpr int32_t ModoEvasiones = 2;
constexpr int32_t ModoCapturas = 3;

// The moves of one ply with their ordering scores and the state of the staged hand-out.
struct ListaMovimientos {
    Tablero* tablero;
    Busqueda* busqueda;
    Movimiento movimientos[CapacidadLista];
    int32_t puntuaciones[CapacidadLista];
    int32_t ply;
    int32_t siguiente;
    int32_t cantidad;
    int32_t puntuacionActual;
    int32_t modo;
    int32_t etapa;

    // Positions set up from arbitrary text can hold more pseudo-legal moves than the list;
    // the excess is dropped rather than written past the arrays.
    void agregar(Movimiento m) {
        if (cantidad < CapacidadLista) movimientos[cantidad++] = m;
    }
};

void generarCapturas(ListaMovimientos& lista, const Tablero& t);
void generarTranquilos(ListaMovimientos& lista, const Tablero& t);
// Fills the list afresh with every pseudo-legal move: the captures and promotions, then the
// quiet moves.
void generarTodos(ListaMovimientos& lista, const Tablero& t);
void generarEvasiones(ListaMovimientos& lista, const Tablero& t);
bool movimientoValido(const Tablero& t, Movimiento m);
void quitarPrimero(ListaMovimientos& lista);
Movimiento textoAMovimiento(const Tablero& t, const std::string& texto);
