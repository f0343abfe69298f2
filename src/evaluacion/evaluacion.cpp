#include "evaluacion/evaluacion.h"

#include "generacion/bits.h"

namespace {

// Sum of a piece-square table over one set of squares; black sets read it mirrored.
template <bool Negras> inline int32_t sumaTabla(Bitboard bb, const TablaCasillas& tabla) {
    int32_t suma = 0;
    while (bb) {
        const Casilla sq = extraerPrimerBit(bb);
        suma += tabla[Negras ? Espejo[sq] : sq];
    }
    return suma;
}

// Rook terms of one side, seen from that side. The walk goes from the lowest square up and
// the rook is taken out of the set first, so a rook still in the set stands higher on the file.
template <bool Negras>
inline int32_t terminosTorres(Bitboard torres, Bitboard peonesPropios, Bitboard peonesRivales) {
    constexpr Bitboard Septima = Negras ? Fila2 : Fila7;
    int32_t suma = 0;
    while (torres) {
        const Casilla sq = extraerPrimerBit(torres);
        const int columna = columnaDe(sq);
        const Bitboard linea = ColumnaA << columna;
        suma += BonoTorreSeptima * static_cast<int32_t>((Septima >> sq) & 1);
        if (!(linea & peonesRivales)) {
            if (!(linea & peonesPropios)) {
                suma += TorreColumnaAbierta[columna];
                if (linea & torres) suma += TorreDobladaAbierta[columna];
            } else {
                suma += TorreColumnaSemiabierta[columna];
            }
        }
        suma += TablaTorre[Negras ? Espejo[sq] : sq];
    }
    return suma;
}

} // namespace

int32_t evaluar(const Tablero& t) {
    const Bitboard* bb = t.bitboardsPieza;
    int32_t s = t.material[Blanco] - t.material[Negro];

    s += sumaTabla<false>(bb[PeonBlanco], TablaPeon);
    s -= sumaTabla<true>(bb[PeonNegro], TablaPeon);

    s += sumaTabla<false>(bb[CaballoBlanco], TablaCaballo);
    s -= sumaTabla<true>(bb[CaballoNegro], TablaCaballo);

    s += BonoParAlfiles * (contarBits(bb[AlfilBlanco]) == 2);
    s += sumaTabla<false>(bb[AlfilBlanco], TablaAlfil);
    s -= BonoParAlfiles * (contarBits(bb[AlfilNegro]) == 2);
    s -= sumaTabla<true>(bb[AlfilNegro], TablaAlfil);

    s += terminosTorres<false>(bb[TorreBlanca], bb[PeonBlanco], bb[PeonNegro]);
    s -= terminosTorres<true>(bb[TorreNegra], bb[PeonNegro], bb[PeonBlanco]);

    s += sumaTabla<false>(bb[DamaBlanca], TablaDama);
    s -= sumaTabla<true>(bb[DamaNegra], TablaDama);

    s += TablaRey[t.casillaRey[Blanco]];
    s -= TablaRey[Espejo[t.casillaRey[Negro]]];

    // No castled-king bonus: the bits above the four castling rights are never set by make,
    // unmake, the null move or set-up, so a term reading them would always add nothing.

    return t.ladoQueMueve ? s : -s;
}
