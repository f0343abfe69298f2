#pragma once

#include "tablero/tablero.h"

void imprimirTablero(const Tablero& t);
void imprimirBitboards(const Tablero& t);
void imprimirListaMovimientos(const Tablero& t);
