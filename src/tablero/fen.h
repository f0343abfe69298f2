#pragma once

#include <cstdint>
#include <string>

#include "tablero/tipos.h"

class Tablero;

extern const char* const FenPosicionInicial;

// A FEN text read into its fields; the reader accepts any text.
struct PosicionFEN {
    explicit PosicionFEN(const std::string& texto);

    bool leerFEN(const std::string& texto);
    int32_t pieza(Casilla c) const { return piezas[c]; }

    std::string fen;
    int32_t piezas[64];
    bool ladoQueMueve;
    int32_t casillaAlPaso;
    int32_t derechosEnroque;
    int32_t movidasRegla50;
    int32_t numeroJugada;
    bool valida;
};

bool establecerPosicion(Tablero& t, const PosicionFEN& posicion);
void posicionInicial(Tablero& t);
