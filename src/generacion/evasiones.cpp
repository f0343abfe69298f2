#include "generacion/ataques.h"
#include "generacion/bits.h"
#include "generacion/generacion_interna.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"

using namespace generacion;

namespace {

// Line along which a checker on c attacks the king on k; pawns and knights give none.
template <int C> inline int32_t direccionJaque(const Tablero& t, Casilla c, Casilla k) {
    return t.piezas[c] == Lado<C>::PeonEnemigo ? SinDireccion : Direccion[c][k];
}

template <int C>
inline void agregarBloqueos(ListaMovimientos& lista, const Tablero& t, Bitboard piezas,
                            Bitboard bloqueo, bool diagonal) {
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        if (estaClavada(t, desde, C)) continue;
        Bitboard destinos = (diagonal ? ataquesAlfil(t, desde) : ataquesTorre(t, desde)) & bloqueo;
        const int32_t pieza = t.piezas[desde];
        while (destinos) {
            const Casilla hasta = extraerPrimerBit(destinos);
            lista.agregar(crearMovimiento(desde, hasta, pieza, t.piezas[hasta]));
        }
    }
}

template <int C>
inline void capturasPeonJaque(ListaMovimientos& lista, const Tablero& t, Bitboard destinos,
                              int paso) {
    using L = Lado<C>;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        const Casilla desde = hasta - paso;
        if (estaClavada(t, desde, C)) continue;
        const int32_t capturada = t.piezas[hasta];
        if ((Bitboard{1} << hasta) & L::FilaPromocion)
            agregarPromociones<C>(lista, desde, hasta, capturada);
        else
            lista.agregar(crearMovimiento(desde, hasta, L::Peon, capturada));
    }
}

template <int C> void evasiones(ListaMovimientos& lista, const Tablero& t) {
    using L = Lado<C>;
    constexpr int Enemigo = L::Enemigo;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard propias = L::propias(t);
    const Bitboard enemigas = L::enemigas(t);
    const Bitboard vacias = ~t.ocupadas();

    // Without its king on the board the side has nothing to evade.
    const Casilla k = casillaReyPresente<C>(t);
    if (k == CasillaNula) return;

    Bitboard jaques = atacantesCasilla(t, k) & enemigas;
    // Called out of check there is no checker to answer.
    if (!jaques) return;
    const Casilla c1 = primerBitActivo(jaques);
    const int32_t d1 = direccionJaque<C>(t, c1, k);
    const Bitboard otros = jaques & (jaques - 1);
    const int32_t d2 = otros ? direccionJaque<C>(t, primerBitActivo(otros), k) : SinDireccion;

    Bitboard destinos = TablaAtaquesRey[k] & ~propias;
    while (destinos) {
        const Casilla s = extraerPrimerBit(destinos);
        if (casillaAtacada(t, s, Enemigo)) continue;
        // Stepping back along a checker's line: the king itself still hides that square.
        const int32_t d = Direccion[k][s];
        if (d != SinDireccion && (d == d1 || d == d2)) continue;
        lista.agregar(crearMovimiento(k, s, L::Rey, t.piezas[s]));
    }
    if (otros) return;

    const Bitboard bloqueo = Entre[c1][k] | (Bitboard{1} << c1);

    Bitboard piezas = bb[L::Caballo];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        if (estaClavada(t, desde, C)) continue;
        destinos = TablaAtaquesCaballo[desde] & bloqueo;
        while (destinos) {
            const Casilla hasta = extraerPrimerBit(destinos);
            lista.agregar(crearMovimiento(desde, hasta, L::Caballo, t.piezas[hasta]));
        }
    }
    agregarBloqueos<C>(lista, t, bb[L::Alfil] | bb[L::Dama], bloqueo, true);
    agregarBloqueos<C>(lista, t, bb[L::Torre] | bb[L::Dama], bloqueo, false);

    const Casilla e = casillaAlPasoUtil<C>(t);
    if (e != CasillaNula && c1 == e - L::Avance) agregarAlPaso<C, true>(lista, t, e);

    const Bitboard peones = bb[L::Peon];
    const Bitboard capturables = bloqueo & enemigas;
    capturasPeonJaque<C>(lista, t, L::capturasHaciaA(peones) & capturables, L::HaciaA);
    capturasPeonJaque<C>(lista, t, L::capturasHaciaH(peones) & capturables, L::HaciaH);

    const Bitboard simples = L::avanzar(peones) & vacias;
    destinos = simples & bloqueo;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        const Casilla desde = hasta - L::Avance;
        if (estaClavada(t, desde, C)) continue;
        if ((Bitboard{1} << hasta) & L::FilaPromocion)
            agregarPromociones<C>(lista, desde, hasta, Vacio);
        else
            lista.agregar(crearMovimiento(desde, hasta, L::Peon));
    }
    destinos = L::avanzar(simples & L::FilaPasoDoble) & vacias & bloqueo;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        const Casilla desde = hasta - 2 * L::Avance;
        if (estaClavada(t, desde, C)) continue;
        lista.agregar(crearMovimiento(desde, hasta, L::Peon));
    }
}

} // namespace

void generarEvasiones(ListaMovimientos& lista, const Tablero& t) {
    generarParaElQueMueve<evasiones<Blanco>, evasiones<Negro>>(lista, t);
}
