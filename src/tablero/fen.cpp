#include "tablero/fen.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "consola/texto.h"
#include "tablero/movimiento.h"
#include "tablero/tablero.h"

const char* const FenPosicionInicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

PosicionFEN::PosicionFEN(const std::string& texto) {
    valida = leerFEN(texto);
}

bool PosicionFEN::leerFEN(const std::string& texto) {
    for (int32_t& p : piezas) p = Vacio;
    ponerEstadoInicial(*this);
    numeroJugada = 1;
    valida = false;
    fen = texto;

    const std::vector<std::string> campos = dividirPalabras(texto, " ");

    if (campos.size() >= 1) {
        // Text that would place a piece outside a1..h8 is ignored rather than written, and an
        // en-passant field whose first two characters are not a square leaves no square.
        int64_t casilla = 56;
        for (const char c : campos[0]) {
            if (c >= '1' && c <= '8') {
                casilla += c - '0';
            } else if (c == '/') {
                casilla -= 16;
            } else {
                const int32_t codigo = codigoDeLetra(c);
                if (codigo != Vacio && casilla >= 0 && casilla < 64) piezas[casilla] = codigo;
                ++casilla;
            }
        }
    }
    if (campos.size() >= 2) ladoQueMueve = campos[1] == "w";
    if (campos.size() >= 3) {
        const std::string& enroque = campos[2];
        if (enroque.find('K') != std::string::npos) derechosEnroque |= EnroqueCortoBlanco;
        if (enroque.find('k') != std::string::npos) derechosEnroque |= EnroqueCortoNegro;
        if (enroque.find('Q') != std::string::npos) derechosEnroque |= EnroqueLargoBlanco;
        if (enroque.find('q') != std::string::npos) derechosEnroque |= EnroqueLargoNegro;
    }
    if (campos.size() >= 4 && campos[3] != "-") {
        const Casilla c = textoACasilla(campos[3]);
        const char columna =
            static_cast<char>(std::tolower(static_cast<unsigned char>(campos[3][0])));
        const char fila = campos[3].size() >= 2 ? campos[3][1] : '\0';
        if (columna >= 'a' && columna <= 'h' && fila >= '1' && fila <= '8') casillaAlPaso = c;
    }
    // A counter field with no number keeps its default.
    if (campos.size() >= 5) leerEntero(campos[4], movidasRegla50);
    if (campos.size() >= 6) leerEntero(campos[5], numeroJugada);
    valida = true;
    return true;
}

bool establecerPosicion(Tablero& t, const PosicionFEN& posicion) {
    t.limpiar();
    if (!posicion.valida) {
        t.recalcularDerivados();
        return false;
    }
    for (Casilla s = 0; s < 64; ++s) {
        const int32_t codigo = posicion.pieza(s);
        t.piezas[s] = codigo;
        if (codigo == ReyBlanco) t.casillaRey[Blanco] = s;
        if (codigo == ReyNegro) t.casillaRey[Negro] = s;
    }
    t.ladoQueMueve = posicion.ladoQueMueve;
    t.casillaAlPaso = posicion.casillaAlPaso;
    t.derechosEnroque = posicion.derechosEnroque;
    // Every make adds one to the clock and the search subtracts it from the history count: held
    // this far inside the 32-bit range, a clock read from the text never overflows in either.
    constexpr int32_t RelojMaximo = std::numeric_limits<int32_t>::max() - CapacidadHistorial;
    t.movidasRegla50 = std::clamp(posicion.movidasRegla50, -RelojMaximo, RelojMaximo);
    t.recalcularDerivados();
    return true;
}

void posicionInicial(Tablero& t) {
    establecerPosicion(t, PosicionFEN(FenPosicionInicial));
}
