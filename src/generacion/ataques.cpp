#include "generacion/ataques.h"

#include "generacion/bits.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"

bool casillaAtacada(const Tablero& t, Casilla s, int bando) {
    const Bitboard* bb = t.bitboardsPieza;
    if (TablaAtaquesCaballo[s] & bb[CaballoBlanco + bando]) return true;
    const Bitboard damas = bb[DamaBlanca + bando];
    if (TablaAtaquesRey[s] & (bitRey(t, bando) | damas)) return true;
    if (bando == Blanco) {
        if (TablaAtaquesPeonNegro[s] & bb[PeonBlanco]) return true;
    } else {
        if (TablaAtaquesPeonBlanco[s] & bb[PeonNegro]) return true;
    }
    if (ataquesTorreHacia(t, s, bb[TorreBlanca + bando] | damas)) return true;
    return ataquesAlfilHacia(t, s, bb[AlfilBlanco + bando] | damas) != 0;
}

bool estaClavada(const Tablero& t, Casilla s, int bando) {
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[bando]);
    // Without a king on the board nothing is pinned.
    if (k >= 64) return false;
    const int32_t d = Direccion[k][s];
    if (d == SinDireccion) return false;
    if (Entre[k][s] & t.ocupadas()) return false;
    const Bitboard linea = ataquesLinea(t, d, s);
    if (!(linea & (Bitboard{1} << k))) return false;
    const int enemigo = bando ^ 1;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard deslizadores =
        bb[DamaBlanca + enemigo] |
        (d <= Oeste ? bb[TorreBlanca + enemigo] : bb[AlfilBlanco + enemigo]);
    return (linea & deslizadores) != 0;
}

Bitboard bloqueadoresSolos(const Tablero& t, Casilla k, int bandoDeslizadores, Bitboard propias) {
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard damas = bb[DamaBlanca + bandoDeslizadores];
    Bitboard deslizadores = ((bb[TorreBlanca + bandoDeslizadores] | damas) & AtaquesTorreVacio[k]) |
                            ((bb[AlfilBlanco + bandoDeslizadores] | damas) & AtaquesAlfilVacio[k]);
    const Bitboard ocupadas = t.ocupadas();
    Bitboard solos = 0;
    while (deslizadores) {
        const Bitboard entre = Entre[k][extraerPrimerBit(deslizadores)] & ocupadas;
        if (entre && !(entre & (entre - 1))) solos |= entre & propias;
    }
    return solos;
}

// The squares from which a move of side `bando` can leave its own king attacked: all of them
// when in check; otherwise the king's square (every move handed out, generated, killer or hash
// move, moves the king only from there)
// and the own pieces that stand alone between it and an enemy slider bearing on that line.
Bitboard casillasDeRiesgo(const Tablero& t, int bando) {
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[bando]);
    if (k >= 64) return 0;
    if (reyAtacado(t, bando)) return ~Bitboard{0};
    return (Bitboard{1} << k) |
           bloqueadoresSolos(t, static_cast<Casilla>(k), bando ^ 1, t.piezasDe(bando));
}

bool posicionOrdinaria(Tablero& t) {
    int32_t reyes[2] = {0, 0};
    for (Casilla s = 0; s < 64; ++s) {
        const int32_t p = t.piezas[s];
        if (p == ReyBlanco || p == ReyNegro) ++reyes[colorPieza(p)];
    }
    if (reyes[Blanco] != 1 || reyes[Negro] != 1 || dejaReyEnJaque(t)) return false;
    if (!enJaque(t)) return true;
    // A set-up no game reaches can give the evasions an en-passant capture that uncovers the
    // king through the captured pawn's square; such a move leaves ordinary play.
    ListaMovimientos evasiones;
    evasiones.cantidad = 0;
    generarEvasiones(evasiones, t);
    for (int32_t i = 0; i < evasiones.cantidad; ++i) {
        t.hacerMovimiento(evasiones.movimientos[i]);
        const bool expuesto = dejaReyEnJaque(t);
        t.deshacerMovimiento();
        if (expuesto) return false;
    }
    return true;
}
