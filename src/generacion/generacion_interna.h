#pragma once

#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/tablero.h"

// Helpers shared by the capture, quiet and evasion generators, specialised per side.
namespace generacion {

template <int C> struct Lado {
    static constexpr int Enemigo = C ^ 1;
    static constexpr int32_t Peon = PeonBlanco + C;
    static constexpr int32_t Caballo = CaballoBlanco + C;
    static constexpr int32_t Alfil = AlfilBlanco + C;
    static constexpr int32_t Torre = TorreBlanca + C;
    static constexpr int32_t Dama = DamaBlanca + C;
    static constexpr int32_t Rey = ReyBlanco + C;
    static constexpr int32_t PeonEnemigo = PeonBlanco + Enemigo;
    // Square steps of a push and of the captures toward file a and toward file h.
    static constexpr int Avance = C == Blanco ? 8 : -8;
    static constexpr int HaciaA = C == Blanco ? 7 : -9;
    static constexpr int HaciaH = C == Blanco ? 9 : -7;
    static constexpr Bitboard FilaPromocion = C == Blanco ? Fila8 : Fila1;
    static constexpr Bitboard FilaPrevia = C == Blanco ? Fila7 : Fila2;
    static constexpr Bitboard FilaPasoDoble = C == Blanco ? Fila3 : Fila6;

    // Whole-set shifts: pawns on the last rank or the wrong edge file fall off the board.
    static Bitboard avanzar(Bitboard b) { return C == Blanco ? b << 8 : b >> 8; }
    static Bitboard capturasHaciaA(Bitboard p) {
        return C == Blanco ? (p & ~ColumnaA) << 7 : (p & ~ColumnaA) >> 9;
    }
    static Bitboard capturasHaciaH(Bitboard p) {
        return C == Blanco ? (p & ~ColumnaH) << 9 : (p & ~ColumnaH) >> 7;
    }
    static Bitboard propias(const Tablero& t) { return t.piezasDe(C); }
    static Bitboard enemigas(const Tablero& t) { return t.piezasDe(Enemigo); }
};

// The king square when the king really stands there, else 64: a FEN can leave the recorded
// square stale, and moving a piece that is not there would corrupt the board.
template <int C> inline Casilla casillaReyPresente(const Tablero& t) {
    const uint32_t k = static_cast<uint32_t>(t.casillaRey[C]);
    return (k < 64 && t.piezas[k] == Lado<C>::Rey) ? static_cast<Casilla>(k) : CasillaNula;
}

// The en-passant square when it can be used by side C, else 64. Text set-up accepts any
// square, so only an empty one on the capturing rank with an enemy pawn behind it counts: make
// and unmake take the target of an en-passant capture to be empty.
template <int C> inline Casilla casillaAlPasoUtil(const Tablero& t) {
    const Casilla e = t.casillaAlPaso;
    if (C == Blanco) {
        if (e >= 40 && e < 48 && t.piezas[e] == Vacio && t.piezas[e - 8] == PeonNegro) return e;
    } else {
        if (e >= 16 && e < 24 && t.piezas[e] == Vacio && t.piezas[e + 8] == PeonBlanco) return e;
    }
    return CasillaNula;
}

// One kind of castling: its right; king and rook on their home squares; the squares that must be
// empty; the king's square and the one it crosses, which must not be attacked; its move word.
struct CondicionEnroque {
    int32_t derecho;
    Casilla rey;
    Casilla torre;
    int32_t codigoRey;
    int32_t codigoTorre;
    Bitboard vacias;
    Casilla atacada1;
    Casilla atacada2;
    int atacante;
    Movimiento movimiento;
};

constexpr Bitboard bit(Casilla c) {
    return Bitboard{1} << c;
}

// In the order of the castling-right bits: side C's short castling at C, its long one at C + 2.
inline constexpr CondicionEnroque CondicionesEnroque[4] = {
    {EnroqueCortoBlanco, 4, 7, ReyBlanco, TorreBlanca, bit(5) | bit(6), 4, 5, Negro, EnroqueE1G1},
    {EnroqueCortoNegro, 60, 63, ReyNegro, TorreNegra, bit(61) | bit(62), 60, 61, Blanco,
     EnroqueE8G8},
    {EnroqueLargoBlanco, 4, 0, ReyBlanco, TorreBlanca, bit(1) | bit(2) | bit(3), 3, 4, Negro,
     EnroqueE1C1},
    {EnroqueLargoNegro, 60, 56, ReyNegro, TorreNegra, bit(57) | bit(58) | bit(59), 59, 60, Blanco,
     EnroqueE8C8},
};

// Whether the right, king and rook on their home squares and the empty squares allow the
// castling; whether the squares it needs are attacked is for the caller to test.
inline bool enroquePreparado(const Tablero& t, const CondicionEnroque& c) {
    if (!(t.derechosEnroque & c.derecho)) return false;
    // Rights read from text need not match the board; make assumes king and rook are home.
    if (t.piezas[c.rey] != c.codigoRey || t.casillaRey[colorPieza(c.codigoRey)] != c.rey ||
        t.piezas[c.torre] != c.codigoTorre)
        return false;
    return !(t.ocupadas() & c.vacias);
}

using Generador = void (*)(ListaMovimientos& lista, const Tablero& t);

// Runs the generator specialised for the side to move.
template <Generador Blancas, Generador Negras>
inline void generarParaElQueMueve(ListaMovimientos& lista, const Tablero& t) {
    if (t.ladoQueMueve)
        Blancas(lista, t);
    else
        Negras(lista, t);
}

// Queen, knight, rook, bishop: the order every generator uses.
template <int C>
inline void agregarPromociones(ListaMovimientos& lista, Casilla desde, Casilla hasta,
                               int32_t capturada) {
    lista.agregar(crearMovimiento(desde, hasta, Lado<C>::Peon, capturada, DamaBlanca + C));
    lista.agregar(crearMovimiento(desde, hasta, Lado<C>::Peon, capturada, CaballoBlanco + C));
    lista.agregar(crearMovimiento(desde, hasta, Lado<C>::Peon, capturada, TorreBlanca + C));
    lista.agregar(crearMovimiento(desde, hasta, Lado<C>::Peon, capturada, AlfilBlanco + C));
}

// En-passant captures onto e: white from e - 7 then e - 9, black from e + 7 then e + 9.
// The evasion generator leaves out capturers pinned to their king.
template <int C, bool SinClavadas>
inline void agregarAlPaso(ListaMovimientos& lista, const Tablero& t, Casilla e) {
    using L = Lado<C>;
    const int f = columnaDe(e);
    const Casilla primero = C == Blanco ? e - 7 : e + 7;
    const Casilla segundo = C == Blanco ? e - 9 : e + 9;
    const bool primeroEnTablero = C == Blanco ? f < 7 : f > 0;
    const bool segundoEnTablero = C == Blanco ? f > 0 : f < 7;
    if (primeroEnTablero && t.piezas[primero] == L::Peon &&
        !(SinClavadas && estaClavada(t, primero, C)))
        lista.agregar(crearAlPaso(primero, e, L::Peon, L::PeonEnemigo));
    if (segundoEnTablero && t.piezas[segundo] == L::Peon &&
        !(SinClavadas && estaClavada(t, segundo, C)))
        lista.agregar(crearAlPaso(segundo, e, L::Peon, L::PeonEnemigo));
}

} // namespace generacion
