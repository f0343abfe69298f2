#pragma once

#include <cstdint>

#include "generacion/lista_movimientos.h"

// The number of moves of the side to move that perft counts at its last ply: the moves of
// `generarTodos` whose make passes the legality test (with the shortcut of `hacerSiLegal` for
// moves that cannot expose the king). Most are counted from target sets without move words;
// the few that need the test are written to `lista` and made. The board is left as it was.
uint32_t contarJugadasLegales(Tablero& t, ListaMovimientos& lista);
