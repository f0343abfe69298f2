#include "tablero/zobrist.h"

#include <cstdlib>

#include "tablero/tablero.h"

uint64_t ZobristPieza[NumCodigosPieza][64];
uint64_t ZobristEnroque[16];
uint64_t ZobristAlPaso[65];

uint64_t aleatorio64() {
    const uint64_t r1 = static_cast<uint64_t>(std::rand()) & 0x7FFF;
    const uint64_t r2 = static_cast<uint64_t>(std::rand()) & 0x7FFF;
    const uint64_t r3 = static_cast<uint64_t>(std::rand()) & 0x7FFF;
    const uint64_t r4 = static_cast<uint64_t>(std::rand()) & 0x7FFF;
    const uint64_t r5 = static_cast<uint64_t>(std::rand());
    uint64_t x = r5;
    x = (x << 15) ^ r4;
    x = (x << 15) ^ r3;
    x = (x << 15) ^ r2;
    x = (x << 15) ^ r1;
    return x;
}

// The draw order fixes the key values; keep it.
void inicializarZobrist() {
    std::srand(0xB1A7);
    for (auto& pieza : ZobristPieza)
        for (uint64_t& clave : pieza) clave = aleatorio64();
    for (uint64_t& clave : ZobristEnroque) clave = aleatorio64();
    for (int s = 0; s < 64; ++s) ZobristAlPaso[s] = aleatorio64();
    ZobristAlPaso[CasillaNula] = 0;
}

uint64_t calcularHashKey(const Tablero& t) {
    uint64_t clave = 0;
    for (Casilla s = 0; s < 64; ++s)
        if (t.piezas[s] != Vacio) clave ^= ZobristPieza[t.piezas[s]][s];
    clave ^= ZobristEnroque[t.derechosEnroque & 15] ^ ZobristAlPaso[t.casillaAlPaso];
    return t.ladoQueMueve ? clave : ~clave;
}
