#pragma once

#include <cstdint>

#include "generacion/lista_movimientos.h"

// The staged move source of one ply: init, then pull moves until 0.
void iniciarLista(ListaMovimientos& lista, Tablero* tablero, Busqueda* busqueda, int32_t ply,
                  int32_t modo);
Movimiento siguienteMovimiento(ListaMovimientos& lista);
Movimiento siguienteEvasion(ListaMovimientos& lista);
Movimiento siguienteCaptura(ListaMovimientos& lista);
void ordenar(ListaMovimientos& lista, int32_t lo, int32_t hi);
