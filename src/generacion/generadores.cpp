#include <cstring>
#include <string>

#include "generacion/ataques.h"
#include "generacion/bits.h"
#include "generacion/generacion_interna.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"

using namespace generacion;

namespace {

// In a set-up that is not a legal position the targets can include the enemy king; make and
// unmake take such a capture like any other.
inline void agregarCapturas(ListaMovimientos& lista, const Tablero& t, Casilla desde,
                            Bitboard destinos, int32_t pieza) {
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        lista.agregar(crearMovimiento(desde, hasta, pieza, t.piezas[hasta]));
    }
}

inline void agregarTranquilos(ListaMovimientos& lista, Casilla desde, Bitboard destinos,
                              int32_t pieza) {
    while (destinos) lista.agregar(crearMovimiento(desde, extraerPrimerBit(destinos), pieza));
}

template <int C>
inline void capturasPeon(ListaMovimientos& lista, const Tablero& t, Bitboard destinos, int paso) {
    using L = Lado<C>;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        const Casilla desde = hasta - paso;
        const int32_t capturada = t.piezas[hasta];
        if ((Bitboard{1} << hasta) & L::FilaPromocion) {
            agregarPromociones<C>(lista, desde, hasta, capturada);
        } else {
            lista.agregar(crearMovimiento(desde, hasta, L::Peon, capturada));
        }
    }
}

template <int C> void capturas(ListaMovimientos& lista, const Tablero& t) {
    using L = Lado<C>;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard enemigas = L::enemigas(t);
    const Bitboard vacias = ~t.ocupadas();

    Bitboard piezas = bb[L::Caballo];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarCapturas(lista, t, desde, TablaAtaquesCaballo[desde] & enemigas, L::Caballo);
    }

    const Casilla rey = casillaReyPresente<C>(t);
    if (rey != CasillaNula) agregarCapturas(lista, t, rey, TablaAtaquesRey[rey] & enemigas, L::Rey);

    piezas = bb[L::Torre] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarCapturas(lista, t, desde, ataquesTorreHacia(t, desde, enemigas), t.piezas[desde]);
    }
    piezas = bb[L::Alfil] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarCapturas(lista, t, desde, ataquesAlfilHacia(t, desde, enemigas), t.piezas[desde]);
    }

    const Bitboard peones = bb[L::Peon];
    Bitboard destinos = L::avanzar(peones & L::FilaPrevia) & vacias;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        agregarPromociones<C>(lista, hasta - L::Avance, hasta, Vacio);
    }

    const Casilla e = casillaAlPasoUtil<C>(t);
    if (e != CasillaNula) agregarAlPaso<C, false>(lista, t, e);

    capturasPeon<C>(lista, t, L::capturasHaciaA(peones) & enemigas, L::HaciaA);
    capturasPeon<C>(lista, t, L::capturasHaciaH(peones) & enemigas, L::HaciaH);
}

// The castling whose kind (its right's bit) is `tipo`; none for any other value.
const CondicionEnroque* condicionEnroque(int32_t tipo) {
    for (const CondicionEnroque& c : CondicionesEnroque)
        if (c.derecho == tipo) return &c;
    return nullptr;
}

// Whether the castling can be played here.
inline bool enroqueCumple(const Tablero& t, const CondicionEnroque& c) {
    return enroquePreparado(t, c) && !casillaAtacada(t, c.atacada1, c.atacante) &&
           !casillaAtacada(t, c.atacada2, c.atacante);
}

inline void agregarEnroque(ListaMovimientos& lista, const Tablero& t, const CondicionEnroque& c) {
    if (enroqueCumple(t, c)) lista.agregar(c.movimiento);
}

template <int C> void tranquilos(ListaMovimientos& lista, const Tablero& t) {
    using L = Lado<C>;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard vacias = ~t.ocupadas();

    Bitboard piezas = bb[L::Caballo];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarTranquilos(lista, desde, TablaAtaquesCaballo[desde] & vacias, L::Caballo);
    }

    const Casilla rey = casillaReyPresente<C>(t);
    if (rey != CasillaNula) agregarTranquilos(lista, rey, TablaAtaquesRey[rey] & vacias, L::Rey);

    piezas = bb[L::Torre] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarTranquilos(lista, desde, ataquesTorre(t, desde) & vacias, t.piezas[desde]);
    }
    piezas = bb[L::Alfil] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        agregarTranquilos(lista, desde, ataquesAlfil(t, desde) & vacias, t.piezas[desde]);
    }

    // Short before long.
    agregarEnroque(lista, t, CondicionesEnroque[C == Blanco ? 0 : 1]);
    agregarEnroque(lista, t, CondicionesEnroque[C == Blanco ? 2 : 3]);

    const Bitboard peones = bb[L::Peon];
    Bitboard simples = L::avanzar(peones & ~L::FilaPrevia) & vacias;
    Bitboard destinos = simples;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        lista.agregar(crearMovimiento(hasta - L::Avance, hasta, L::Peon));
    }
    destinos = L::avanzar(simples & L::FilaPasoDoble) & vacias;
    while (destinos) {
        const Casilla hasta = extraerPrimerBit(destinos);
        lista.agregar(crearMovimiento(hasta - 2 * L::Avance, hasta, L::Peon));
    }
}

} // namespace

void generarCapturas(ListaMovimientos& lista, const Tablero& t) {
    generarParaElQueMueve<capturas<Blanco>, capturas<Negro>>(lista, t);
}

void generarTranquilos(ListaMovimientos& lista, const Tablero& t) {
    generarParaElQueMueve<tranquilos<Blanco>, tranquilos<Negro>>(lista, t);
}

void generarTodos(ListaMovimientos& lista, const Tablero& t) {
    lista.cantidad = 0;
    generarCapturas(lista, t);
    generarTranquilos(lista, t);
}

bool movimientoValido(const Tablero& t, Movimiento m) {
    if (m == MovimientoNulo) return false;
    // Bits no generator sets.
    if (m >> 29) return false;
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    if (pieza == Vacio || t.piezas[desde] != pieza) return false;
    if (colorPieza(pieza) != t.colorQueMueve()) return false;
    const int32_t capturada = piezaCapturada(m);
    if (capturada != Vacio && colorPieza(capturada) == colorPieza(pieza)) return false;

    const int32_t enroque = tipoEnroque(m);
    const bool alPaso = esAlPaso(m);
    // Flags on the wrong piece would send make down a path that does not fit the board.
    if (alPaso && pieza != PeonBlanco && pieza != PeonNegro) return false;
    if (enroque != 0 && pieza != ReyBlanco && pieza != ReyNegro) return false;

    switch (pieza) {
    case PeonBlanco:
    case PeonNegro: {
        const int avance = pieza == PeonBlanco ? 8 : -8;
        if (hasta == desde + avance)
            return t.piezas[hasta] == Vacio && capturada == Vacio && !alPaso;
        if (hasta == desde + 2 * avance)
            return t.piezas[hasta] == Vacio && t.piezas[desde + avance] == Vacio &&
                   capturada == Vacio && !alPaso;
        if (capturada == Vacio) return false;
        if (alPaso) {
            const Casilla e =
                pieza == PeonBlanco ? casillaAlPasoUtil<Blanco>(t) : casillaAlPasoUtil<Negro>(t);
            return e != CasillaNula && hasta == e && capturada == PeonBlanco + PeonNegro - pieza;
        }
        break;
    }
    case CaballoBlanco:
    case CaballoNegro:
        break;
    case ReyBlanco:
    case ReyNegro:
        if (enroque != 0) {
            const CondicionEnroque* c = condicionEnroque(enroque);
            return c != nullptr && m == c->movimiento && enroqueCumple(t, *c);
        }
        break;
    default:
        if (Entre[desde][hasta] & t.ocupadas()) return false;
        break;
    }
    return t.piezas[hasta] == capturada && capturada != ReyBlanco && capturada != ReyNegro;
}

void quitarPrimero(ListaMovimientos& lista) {
    // An empty list stays empty rather than moving a negative count of entries.
    if (lista.cantidad <= 0) return;
    const int resto = lista.cantidad - 1;
    std::memmove(lista.movimientos, lista.movimientos + 1, resto * sizeof(Movimiento));
    std::memmove(lista.puntuaciones, lista.puntuaciones + 1, resto * sizeof(int32_t));
    lista.cantidad = resto;
}

Movimiento textoAMovimiento(const Tablero& t, const std::string& texto) {
    ListaMovimientos lista{};
    generarTodos(lista, t);
    for (int i = 0; i < lista.cantidad; ++i) {
        if (movimientoATexto(lista.movimientos[i]) == texto) return lista.movimientos[i];
    }
    return MovimientoNulo;
}
