#include "apoyo/posiciones.h"

#include <mutex>

#include "generacion/tablas.h"
#include "tablero/fen.h"
#include "tablero/zobrist.h"

void prepararTablasGlobales() {
    static std::once_flag hecho;
    std::call_once(hecho, [] {
        inicializarTablas();
        inicializarZobrist();
    });
}

std::unique_ptr<Tablero> tableroDesdeFEN(const std::string& fen) {
    prepararTablasGlobales();
    auto tablero = std::make_unique<Tablero>(nullptr);
    establecerPosicion(*tablero, PosicionFEN(fen));
    return tablero;
}
