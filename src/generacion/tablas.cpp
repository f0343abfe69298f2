#include "generacion/tablas.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

// Each row of eight is one rank, a1..h1 first.
const int32_t IndiceRotado90[64] = {
    7,  15, 23, 31, 39, 47, 55, 63, 6,  14, 22, 30, 38, 46, 54, 62, 5,  13, 21, 29, 37, 45,
    53, 61, 4,  12, 20, 28, 36, 44, 52, 60, 3,  11, 19, 27, 35, 43, 51, 59, 2,  10, 18, 26,
    34, 42, 50, 58, 1,  9,  17, 25, 33, 41, 49, 57, 0,  8,  16, 24, 32, 40, 48, 56,
};
const int32_t IndiceRotado45[64] = {
    8,  17, 26, 35, 44, 53, 62, 7,  16, 25, 34, 43, 52, 61, 6,  15, 24, 33, 42, 51, 60, 5,
    14, 23, 32, 41, 50, 59, 4,  13, 22, 31, 40, 49, 58, 3,  12, 21, 30, 39, 48, 57, 2,  11,
    20, 29, 38, 47, 56, 1,  10, 19, 28, 37, 46, 55, 0,  9,  18, 27, 36, 45, 54, 63,
};
const int32_t IndiceRotado315[64] = {
    0,  57, 50, 43, 36, 29, 22, 15, 8,  1,  58, 51, 44, 37, 30, 23, 16, 9,  2,  59, 52, 45,
    38, 31, 24, 17, 10, 3,  60, 53, 46, 39, 32, 25, 18, 11, 4,  61, 54, 47, 40, 33, 26, 19,
    12, 5,  62, 55, 48, 41, 34, 27, 20, 13, 6,  63, 56, 49, 42, 35, 28, 21, 14, 7,
};
const int32_t CasillaRotado90[64] = {
    56, 48, 40, 32, 24, 16, 8,  0,  57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36, 28, 20, 12, 4,  61, 53, 45, 37,
    29, 21, 13, 5,  62, 54, 46, 38, 30, 22, 14, 6,  63, 55, 47, 39, 31, 23, 15, 7,
};
const int32_t DesplazamientoRotado45[64] = {
    9,  17, 25, 33, 41, 49, 57, 1,  17, 25, 33, 41, 49, 57, 1,  10, 25, 33, 41, 49, 57, 1,
    10, 19, 33, 41, 49, 57, 1,  10, 19, 28, 41, 49, 57, 1,  10, 19, 28, 37, 49, 57, 1,  10,
    19, 28, 37, 46, 57, 1,  10, 19, 28, 37, 46, 55, 1,  10, 19, 28, 37, 46, 55, 64,
};
const int32_t DesplazamientoRotado315[64] = {
    1,  58, 51, 44, 37, 30, 23, 16, 9,  1,  58, 51, 44, 37, 30, 23, 17, 9,  1,  58, 51, 44,
    37, 30, 25, 17, 9,  1,  58, 51, 44, 37, 33, 25, 17, 9,  1,  58, 51, 44, 41, 33, 25, 17,
    9,  1,  58, 51, 49, 41, 33, 25, 17, 9,  1,  58, 57, 49, 41, 33, 25, 17, 9,  1,
};

uint8_t PrimerBit[65536];
Bitboard MascaraCasilla[64];
Bitboard MascaraRotado90[64];
Bitboard MascaraRotado45[64];
Bitboard MascaraRotado315[64];
Bitboard InversaCasilla[64];
Bitboard InversaRotado90[64];
Bitboard InversaRotado45[64];
Bitboard InversaRotado315[64];
Bitboard MascaraFila[8];
Bitboard MascaraColumna[8];
Bitboard TablaAtaquesFila[64][64];
Bitboard TablaAtaquesColumna[64][64];
Bitboard TablaAtaquesDiagonal45[64][64];
Bitboard TablaAtaquesDiagonal315[64][64];
Bitboard TablaAtaquesCaballo[64];
Bitboard TablaAtaquesRey[64];
Bitboard TablaAtaquesPeonBlanco[64];
Bitboard TablaAtaquesPeonNegro[64];
int32_t Direccion[64][64];
Bitboard Entre[64][64];
Bitboard Rayos[9][64];
Bitboard AtaquesTorreVacio[64];
Bitboard AtaquesAlfilVacio[64];
Bitboard VecinosAlPaso[64];

namespace {

constexpr int PasoDireccion[9] = {0, 8, -8, 1, -1, 9, 7, -7, -9};

int numeroAntidiagonal(Casilla s) {
    return columnaDe(s) + filaDe(s);
}
int numeroDiagonal(Casilla s) {
    return 7 - columnaDe(s) + filaDe(s);
}

// The rotated window of the h8 anti-diagonal starts at bit 64; such a shift must give 0.
Bitboard desplazarDerecha(Bitboard bb, int n) {
    return n >= 64 ? 0 : bb >> n;
}

// Attacks from position p on an eight-square line with occupancy o; blockers included.
unsigned ataquesLinea8(int p, unsigned o) {
    unsigned resultado = 0;
    for (int i = p + 1; i <= 7; ++i) {
        resultado |= 1u << i;
        if (o & (1u << i)) break;
    }
    for (int i = p - 1; i >= 0; --i) {
        resultado |= 1u << i;
        if (o & (1u << i)) break;
    }
    return resultado;
}

int32_t calcularDireccion(Casilla desde, Casilla hasta) {
    if (desde == hasta) return SinDireccion;
    if (filaDe(desde) == filaDe(hasta)) return hasta > desde ? Este : Oeste;
    if (columnaDe(desde) == columnaDe(hasta)) return hasta > desde ? Norte : Sur;
    if (numeroDiagonal(desde) == numeroDiagonal(hasta)) return hasta > desde ? Noreste : Suroeste;
    if (numeroAntidiagonal(desde) == numeroAntidiagonal(hasta))
        return hasta > desde ? Noroeste : Sureste;
    return SinDireccion;
}

// Walks from s by paso while the square stays on the board; stops after a square whose
// rotated bit, shifted by desplazamiento, meets the inner occupancy i.
Bitboard caminarDiagonal(Casilla s, int paso, const Bitboard* mascaras, int desplazamiento,
                         unsigned i) {
    Bitboard resultado = 0;
    Casilla actual = s;
    for (;;) {
        const int columna = columnaDe(actual);
        const int fila = filaDe(actual);
        if (paso > 0 && fila == 7) break;
        if (paso < 0 && fila == 0) break;
        if ((paso == 9 || paso == -7) && columna == 7) break;
        if ((paso == 7 || paso == -9) && columna == 0) break;
        actual += paso;
        resultado |= MascaraCasilla[actual];
        if (desplazarDerecha(mascaras[actual], desplazamiento) & i) break;
    }
    return resultado;
}

void llenarTablas() {
    PrimerBit[0] = 0;
    for (unsigned v = 1; v < 65536; ++v) {
        uint8_t i = 0;
        while (!(v & (1u << i))) ++i;
        PrimerBit[v] = i;
    }

    for (int i = 0; i < 8; ++i) MascaraFila[i] = MascaraColumna[i] = 0;
    for (Casilla s = 0; s < 64; ++s) {
        MascaraCasilla[s] = Bitboard{1} << s;
        MascaraFila[filaDe(s)] |= MascaraCasilla[s];
        MascaraColumna[columnaDe(s)] |= MascaraCasilla[s];
    }

    for (Casilla desde = 0; desde < 64; ++desde)
        for (Casilla hasta = 0; hasta < 64; ++hasta)
            Direccion[desde][hasta] = calcularDireccion(desde, hasta);

    for (Casilla desde = 0; desde < 64; ++desde) {
        for (Casilla hasta = 0; hasta < 64; ++hasta) {
            const int32_t d = Direccion[desde][hasta];
            Bitboard entre = 0;
            if (d != SinDireccion) {
                for (Casilla c = desde + PasoDireccion[d]; c != hasta; c += PasoDireccion[d])
                    entre |= MascaraCasilla[c];
            }
            Entre[desde][hasta] = entre;
        }
    }

    for (auto& fila : Rayos)
        for (Bitboard& rayo : fila) rayo = 0;
    for (Casilla desde = 0; desde < 64; ++desde)
        for (Casilla hasta = 0; hasta < 64; ++hasta)
            if (Direccion[desde][hasta] != SinDireccion)
                Rayos[Direccion[desde][hasta]][desde] |= MascaraCasilla[hasta];

    for (Casilla s = 0; s < 64; ++s) {
        MascaraRotado90[s] = Bitboard{1} << IndiceRotado90[s];
        MascaraRotado45[s] = Bitboard{1} << IndiceRotado45[s];
        MascaraRotado315[s] = Bitboard{1} << IndiceRotado315[s];
        InversaCasilla[s] = ~MascaraCasilla[s];
        InversaRotado90[s] = ~MascaraRotado90[s];
        InversaRotado45[s] = ~MascaraRotado45[s];
        InversaRotado315[s] = ~MascaraRotado315[s];
    }

    for (Casilla s = 0; s < 64; ++s) {
        Bitboard vecinos = 0;
        if (filaDe(s) == 3 || filaDe(s) == 4) {
            if (columnaDe(s) > 0) vecinos |= MascaraCasilla[s - 1];
            if (columnaDe(s) < 7) vecinos |= MascaraCasilla[s + 1];
        }
        VecinosAlPaso[s] = vecinos;
    }

    constexpr int DesplazamientosRey[8] = {-9, -7, -8, 7, 9, 8, -1, 1};
    constexpr int DesplazamientosCaballo[8] = {-17, -15, -6, 10, 17, 15, 6, -10};
    for (Casilla s = 0; s < 64; ++s) {
        Bitboard rey = 0;
        Bitboard caballo = 0;
        for (int k = 0; k < 8; ++k) {
            const Casilla t = s + DesplazamientosRey[k];
            if (t >= 0 && t < 64 &&
                std::max(std::abs(columnaDe(t) - columnaDe(s)), std::abs(filaDe(t) - filaDe(s))) ==
                    1)
                rey |= MascaraCasilla[t];
            const Casilla u = s + DesplazamientosCaballo[k];
            if (u >= 0 && u < 64 &&
                std::max(std::abs(columnaDe(u) - columnaDe(s)), std::abs(filaDe(u) - filaDe(s))) <
                    3)
                caballo |= MascaraCasilla[u];
        }
        TablaAtaquesRey[s] = rey;
        TablaAtaquesCaballo[s] = caballo;
    }

    for (Casilla s = 0; s < 64; ++s) {
        const int columna = columnaDe(s);
        Bitboard blanco = 0;
        Bitboard negro = 0;
        if (filaDe(s) < 7) {
            if (columna > 0) blanco |= MascaraCasilla[s + 7];
            if (columna < 7) blanco |= MascaraCasilla[s + 9];
        }
        if (filaDe(s) > 0) {
            if (columna > 0) negro |= MascaraCasilla[s - 9];
            if (columna < 7) negro |= MascaraCasilla[s - 7];
        }
        TablaAtaquesPeonBlanco[s] = blanco;
        TablaAtaquesPeonNegro[s] = negro;
    }

    for (Casilla s = 0; s < 64; ++s) {
        const int columna = columnaDe(s);
        const int fila = filaDe(s);
        for (unsigned i = 0; i < 64; ++i) {
            Bitboard enFila = 0;
            Bitboard enColumna = 0;
            const unsigned porFila = ataquesLinea8(columna, i << 1);
            const unsigned porColumna = ataquesLinea8(7 - fila, i << 1);
            for (int k = 0; k < 8; ++k) {
                if (porFila & (1u << k)) enFila |= MascaraCasilla[8 * fila + k];
                if (porColumna & (1u << k))
                    enColumna |= MascaraCasilla[CasillaRotado90[8 * columna + k]];
            }
            TablaAtaquesFila[s][i] = enFila;
            TablaAtaquesColumna[s][i] = enColumna;
            TablaAtaquesDiagonal45[s][i] =
                caminarDiagonal(s, 7, MascaraRotado45, DesplazamientoRotado45[s], i) |
                caminarDiagonal(s, -7, MascaraRotado45, DesplazamientoRotado45[s], i);
            TablaAtaquesDiagonal315[s][i] =
                caminarDiagonal(s, 9, MascaraRotado315, DesplazamientoRotado315[s], i) |
                caminarDiagonal(s, -9, MascaraRotado315, DesplazamientoRotado315[s], i);
        }
    }

    for (Casilla s = 0; s < 64; ++s) {
        AtaquesTorreVacio[s] = TablaAtaquesFila[s][0] | TablaAtaquesColumna[s][0];
        AtaquesAlfilVacio[s] = TablaAtaquesDiagonal45[s][0] | TablaAtaquesDiagonal315[s][0];
    }
}

} // namespace

void inicializarTablas() {
    static std::once_flag hecho;
    std::call_once(hecho, llenarTablas);
}
