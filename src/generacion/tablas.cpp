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

Bitboard MascaraCasilla[64];
Bitboard MascaraRotado90[64];
Bitboard MascaraRotado45[64];
Bitboard MascaraRotado315[64];
Bitboard InversaCasilla[64];
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
constexpr int PasosRey[8] = {-9, -7, -8, 7, 9, 8, -1, 1};
constexpr int PasosCaballo[8] = {-17, -15, -6, 10, 17, 15, 6, -10};

int numeroAntidiagonal(Casilla s) {
    return columnaDe(s) + filaDe(s);
}
int numeroDiagonal(Casilla s) {
    return 7 - columnaDe(s) + filaDe(s);
}
int distancia(Casilla a, Casilla b) {
    return std::max(std::abs(columnaDe(a) - columnaDe(b)), std::abs(filaDe(a) - filaDe(b)));
}

// The rotated window of the h8 anti-diagonal starts at bit 64; such a shift must give 0.
Bitboard desplazarDerecha(Bitboard bb, int n) {
    return n >= 64 ? 0 : bb >> n;
}

void llenarMascaras() {
    for (Casilla s = 0; s < 64; ++s) {
        MascaraCasilla[s] = Bitboard{1} << s;
        MascaraRotado90[s] = Bitboard{1} << IndiceRotado90[s];
        MascaraRotado45[s] = Bitboard{1} << IndiceRotado45[s];
        MascaraRotado315[s] = Bitboard{1} << IndiceRotado315[s];
        InversaCasilla[s] = ~MascaraCasilla[s];
    }
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

void llenarDireccion() {
    for (Casilla desde = 0; desde < 64; ++desde)
        for (Casilla hasta = 0; hasta < 64; ++hasta)
            Direccion[desde][hasta] = calcularDireccion(desde, hasta);
}

// The squares stepped on from one square toward another along their common line, neither end
// included; empty when they share no line.
Bitboard calcularEntre(Casilla desde, Casilla hasta) {
    const int32_t d = Direccion[desde][hasta];
    Bitboard entre = 0;
    if (d == SinDireccion) return entre;
    for (Casilla c = desde + PasoDireccion[d]; c != hasta; c += PasoDireccion[d])
        entre |= MascaraCasilla[c];
    return entre;
}

void llenarEntre() {
    for (Casilla desde = 0; desde < 64; ++desde)
        for (Casilla hasta = 0; hasta < 64; ++hasta)
            Entre[desde][hasta] = calcularEntre(desde, hasta);
}

// Each square joins the ray of the direction in which it lies from the ray's origin.
void llenarRayos() {
    for (Casilla desde = 0; desde < 64; ++desde) {
        for (Casilla hasta = 0; hasta < 64; ++hasta) {
            const int32_t d = Direccion[desde][hasta];
            if (d != SinDireccion) Rayos[d][desde] |= MascaraCasilla[hasta];
        }
    }
}

// A pawn that has just advanced two squares can be taken en passant only by a pawn beside it.
void llenarVecinosAlPaso() {
    for (Casilla s = 0; s < 64; ++s) {
        Bitboard vecinos = 0;
        if (filaDe(s) == 3 || filaDe(s) == 4) {
            if (columnaDe(s) > 0) vecinos |= MascaraCasilla[s - 1];
            if (columnaDe(s) < 7) vecinos |= MascaraCasilla[s + 1];
        }
        VecinosAlPaso[s] = vecinos;
    }
}

// The squares reached from s by the given steps that stay on the board within the given
// distance; a step that wraps round an edge lands far away.
Bitboard saltos(Casilla s, const int (&pasos)[8], int distanciaMaxima) {
    Bitboard destinos = 0;
    for (const int paso : pasos) {
        const Casilla t = s + paso;
        if (t >= 0 && t < 64 && distancia(s, t) <= distanciaMaxima) destinos |= MascaraCasilla[t];
    }
    return destinos;
}

void llenarSaltos() {
    for (Casilla s = 0; s < 64; ++s) {
        TablaAtaquesRey[s] = saltos(s, PasosRey, 1);
        TablaAtaquesCaballo[s] = saltos(s, PasosCaballo, 2);
    }
}

// The squares a pawn on s takes on: the next rank in its direction (`avance` +8 or -8), one file
// to each side; none from its last rank.
Bitboard ataquesPeon(Casilla s, int avance, int filaFinal) {
    Bitboard destinos = 0;
    if (filaDe(s) == filaFinal) return destinos;
    if (columnaDe(s) > 0) destinos |= MascaraCasilla[s + avance - 1];
    if (columnaDe(s) < 7) destinos |= MascaraCasilla[s + avance + 1];
    return destinos;
}

void llenarAtaquesPeon() {
    for (Casilla s = 0; s < 64; ++s) {
        TablaAtaquesPeonBlanco[s] = ataquesPeon(s, 8, 7);
        TablaAtaquesPeonNegro[s] = ataquesPeon(s, -8, 0);
    }
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

// The board squares of the positions set in an eight-square line, given the line's squares.
Bitboard casillasDeLinea(unsigned linea, const Casilla (&casillas)[8]) {
    Bitboard resultado = 0;
    for (int k = 0; k < 8; ++k)
        if (linea & (1u << k)) resultado |= MascaraCasilla[casillas[k]];
    return resultado;
}

// The inner occupancy i of a line holds its squares 1 to 6, so it is shifted past square 0.
Bitboard ataquesEnFila(Casilla s, unsigned i) {
    Casilla fila[8];
    for (int k = 0; k < 8; ++k) fila[k] = casillaDe(k, filaDe(s));
    return casillasDeLinea(ataquesLinea8(columnaDe(s), i << 1), fila);
}

// A file runs in its rotated byte from rank 8 down to rank 1.
Bitboard ataquesEnColumna(Casilla s, unsigned i) {
    Casilla columna[8];
    for (int k = 0; k < 8; ++k) columna[k] = CasillaRotado90[8 * columnaDe(s) + k];
    return casillasDeLinea(ataquesLinea8(7 - filaDe(s), i << 1), columna);
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

Bitboard ataquesEnDiagonal45(Casilla s, unsigned i) {
    const int d = DesplazamientoRotado45[s];
    return caminarDiagonal(s, 7, MascaraRotado45, d, i) |
           caminarDiagonal(s, -7, MascaraRotado45, d, i);
}

Bitboard ataquesEnDiagonal315(Casilla s, unsigned i) {
    const int d = DesplazamientoRotado315[s];
    return caminarDiagonal(s, 9, MascaraRotado315, d, i) |
           caminarDiagonal(s, -9, MascaraRotado315, d, i);
}

// One sliding table: for every square and every inner occupancy of its line.
void llenarDeslizante(Bitboard (&tabla)[64][64], Bitboard (*ataques)(Casilla, unsigned)) {
    for (Casilla s = 0; s < 64; ++s)
        for (unsigned i = 0; i < 64; ++i) tabla[s][i] = ataques(s, i);
}

void llenarAtaquesVacio() {
    for (Casilla s = 0; s < 64; ++s) {
        AtaquesTorreVacio[s] = TablaAtaquesFila[s][0] | TablaAtaquesColumna[s][0];
        AtaquesAlfilVacio[s] = TablaAtaquesDiagonal45[s][0] | TablaAtaquesDiagonal315[s][0];
    }
}

// Each table reads only the ones filled before it.
void llenarTablas() {
    llenarMascaras();
    llenarDireccion();
    llenarEntre();
    llenarRayos();
    llenarVecinosAlPaso();
    llenarSaltos();
    llenarAtaquesPeon();
    llenarDeslizante(TablaAtaquesFila, ataquesEnFila);
    llenarDeslizante(TablaAtaquesColumna, ataquesEnColumna);
    llenarDeslizante(TablaAtaquesDiagonal45, ataquesEnDiagonal45);
    llenarDeslizante(TablaAtaquesDiagonal315, ataquesEnDiagonal315);
    llenarAtaquesVacio();
}

} // namespace

void inicializarTablas() {
    static std::once_flag hecho;
    std::call_once(hecho, llenarTablas);
}
