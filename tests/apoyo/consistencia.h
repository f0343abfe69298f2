#pragma once

#include <string>

#include "tablero/tablero.h"

// Recomputes everything that follows from the piece array and compares it with the board's
// incremental state. The key is not comparable while a null move is made.
bool tableroConsistente(const Tablero& t, std::string* motivo = nullptr,
                        bool comprobarClave = true);

// Compares every field that make and unmake must restore (the king entries of bitboardsPieza,
// which make does not keep, are left out).
bool tablerosIguales(const Tablero& a, const Tablero& b, std::string* diferencia = nullptr);
