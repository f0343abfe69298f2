#include "tablero/zobrist.h"

#include "tablero/tablero.h"

uint64_t ZobristPieza[NumCodigosPieza][64];
uint64_t ZobristEnroque[16];
uint64_t ZobristAlPaso[65];

namespace {

// The keys' own generator, so that every build draws the same numbers: a 32-bit linear
// congruential state whose draws are its bits 16 to 30 (0 to 32767).
constexpr uint32_t SemillaZobrist = 0xB1A7;
constexpr uint32_t MultiplicadorAleatorio = 214013;
constexpr uint32_t IncrementoAleatorio = 2531011;
constexpr uint32_t MascaraAleatorio = 0x7FFF;

uint32_t estadoAleatorio = SemillaZobrist;

void sembrarAleatorio(uint32_t semilla) {
    estadoAleatorio = semilla;
}

uint64_t aleatorio15() {
    estadoAleatorio = estadoAleatorio * MultiplicadorAleatorio + IncrementoAleatorio;
    return (estadoAleatorio >> 16) & MascaraAleatorio;
}

} // namespace

uint64_t aleatorio64() {
    const uint64_t r1 = aleatorio15();
    const uint64_t r2 = aleatorio15();
    const uint64_t r3 = aleatorio15();
    const uint64_t r4 = aleatorio15();
    const uint64_t r5 = aleatorio15();
    uint64_t x = r5;
    x = (x << 15) ^ r4;
    x = (x << 15) ^ r3;
    x = (x << 15) ^ r2;
    x = (x << 15) ^ r1;
    return x;
}

// The draw order fixes the key values; keep it.
void inicializarZobrist() {
    sembrarAleatorio(SemillaZobrist);
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
