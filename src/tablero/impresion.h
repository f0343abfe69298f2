#pragma once

#include "tablero/tablero.h"

void imprimirTablero(const Tablero& t);
void imprimirBitboards(const Tablero& t);
void imprimirBitboard(Bitboard bb);
void imprimirListaMovimientos(const Tablero& t);
void imprimirHistorial(const Tablero& t);
