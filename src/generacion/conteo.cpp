#include "generacion/conteo.h"

#include "generacion/ataques.h"
#include "generacion/bits.h"
#include "generacion/generacion_interna.h"
#include "generacion/tablas.h"

using namespace generacion;

namespace {

constexpr Bitboard TodasLasCasillas = ~Bitboard{0};

// The most pseudo-legal moves one piece can have: a queen in the open, a rook, a bishop, a
// knight, a pawn that can promote straight ahead and by both captures, the king with its eight
// steps and two castlings; and the most en-passant captures of a side.
constexpr int32_t MaximoDama = 27;
constexpr int32_t MaximoTorre = 14;
constexpr int32_t MaximoAlfil = 13;
constexpr int32_t MaximoCaballo = 8;
constexpr int32_t MaximoPeon = 12;
constexpr int32_t MaximoRey = 10;
constexpr int32_t MaximoAlPaso = 2;

// A promotion target is counted once as a square and stands for four moves.
constexpr int32_t PromocionesExtra = 3;

// Whether side C may have more pseudo-legal moves than a list holds. The generators drop the
// excess, and only a count over their list drops the same moves.
template <int C> bool puedeLlenarLista(const Tablero& t) {
    using L = Lado<C>;
    const Bitboard* bb = t.bitboardsPieza;
    const int32_t cota =
        MaximoDama * contarBits(bb[L::Dama]) + MaximoTorre * contarBits(bb[L::Torre]) +
        MaximoAlfil * contarBits(bb[L::Alfil]) + MaximoCaballo * contarBits(bb[L::Caballo]) +
        MaximoPeon * contarBits(bb[L::Peon]) + MaximoRey + MaximoAlPaso;
    return cota > CapacidadLista;
}

// Makes each listed move and counts those that pass the legality test of `hacerSiLegal`.
int32_t contarProbando(Tablero& t, const ListaMovimientos& lista, Bitboard riesgo) {
    int32_t n = 0;
    for (int32_t i = 0; i < lista.cantidad; ++i) {
        if (!hacerSiLegal(t, lista.movimientos[i], riesgo)) continue;
        ++n;
        t.deshacerMovimiento();
    }
    return n;
}

// The squares a piece on `desde` may move to without exposing the king on k. Out of check the
// risky squares are the king's and those of the pinned pieces, and a pinned piece keeps to the
// ray from the king through it, which ends at the pinning slider.
inline Bitboard permitidas(Bitboard riesgo, Casilla k, Casilla desde) {
    return (riesgo >> desde) & 1 ? Rayos[Direccion[k][desde]][k] : TodasLasCasillas;
}

// The pawns' pseudo-legal moves onto `permitidas`.
template <int C>
int32_t contarPeones(Bitboard peones, Bitboard permitidas, Bitboard vacias, Bitboard enemigas) {
    using L = Lado<C>;
    const Bitboard simples = L::avanzar(peones) & vacias;
    const Bitboard dobles = L::avanzar(simples & L::FilaPasoDoble) & vacias & permitidas;
    const Bitboard avances = simples & permitidas;
    const Bitboard haciaA = L::capturasHaciaA(peones) & enemigas & permitidas;
    const Bitboard haciaH = L::capturasHaciaH(peones) & enemigas & permitidas;
    int32_t n = contarBits(avances) + contarBits(dobles) + contarBits(haciaA) + contarBits(haciaH);
    if ((avances | haciaA | haciaH) & L::FilaPromocion)
        n += PromocionesExtra *
             (contarBits(avances & L::FilaPromocion) + contarBits(haciaA & L::FilaPromocion) +
              contarBits(haciaH & L::FilaPromocion));
    return n;
}

// The squares of `zona` that the enemy of side C attacks.
template <int C> Bitboard atacadasEn(const Tablero& t, Bitboard zona) {
    using E = Lado<Lado<C>::Enemigo>;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard peones = bb[E::Peon];
    Bitboard ataques = E::capturasHaciaA(peones) | E::capturasHaciaH(peones);
    Bitboard piezas = bb[E::Caballo];
    while (piezas) ataques |= TablaAtaquesCaballo[extraerPrimerBit(piezas)];
    const uint32_t reyEnemigo = static_cast<uint32_t>(t.casillaRey[Lado<C>::Enemigo]);
    if (reyEnemigo < 64) ataques |= TablaAtaquesRey[reyEnemigo];
    piezas = bb[E::Torre] | bb[E::Dama];
    while (piezas) ataques |= ataquesTorreHacia(t, extraerPrimerBit(piezas), zona);
    piezas = bb[E::Alfil] | bb[E::Dama];
    while (piezas) ataques |= ataquesAlfilHacia(t, extraerPrimerBit(piezas), zona);
    return ataques & zona;
}

// The squares a castling needs unattacked: the king's, the one it crosses and its target.
// Castling changes no line through the target but the rank, where the nearest piece on each
// side stays an own one or none, so the target is attacked after the move exactly when now.
constexpr Bitboard casillasSinAtaque(const CondicionEnroque& c) {
    return bit(c.atacada1) | bit(c.atacada2) | bit(hastaDe(c.movimiento));
}

// Side C's castling rights, and the squares its castlings need unattacked.
template <int C>
constexpr int32_t DerechosDe = CondicionesEnroque[C].derecho | CondicionesEnroque[C + 2].derecho;
template <int C>
constexpr Bitboard CasillasEnroques = casillasSinAtaque(CondicionesEnroque[C]) |
                                      casillasSinAtaque(CondicionesEnroque[C + 2]);

// The king's steps and castlings that leave it unattacked. Out of check no enemy slider's line
// reaches the king, so the enemy attacks the same squares with the king on its square as
// after it has left it.
template <int C> int32_t contarRey(const Tablero& t, Casilla k, Bitboard libres) {
    const Bitboard destinos = TablaAtaquesRey[k] & libres;
    const bool conDerechos = (t.derechosEnroque & DerechosDe<C>) != 0;
    const Bitboard zona = destinos | (conDerechos ? CasillasEnroques<C> : 0);
    if (!zona) return 0;
    const Bitboard atacadas = atacadasEn<C>(t, zona);
    int32_t n = contarBits(destinos & ~atacadas);
    if (!conDerechos) return n;
    for (int32_t i = C; i < 4; i += 2) {
        const CondicionEnroque& c = CondicionesEnroque[i];
        n += enroquePreparado(t, c) && !(atacadas & casillasSinAtaque(c));
    }
    return n;
}

// Out of check, with the king standing on k: only the en-passant captures are made and tested.
template <int C>
int32_t contarFueraDeJaque(Tablero& t, ListaMovimientos& lista, Casilla k, Bitboard riesgo) {
    using L = Lado<C>;
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard libres = ~L::propias(t);
    int32_t n = 0;

    // A pinned knight has no move: its step always leaves the ray.
    Bitboard piezas = bb[L::Caballo] & ~riesgo;
    while (piezas) n += contarBits(TablaAtaquesCaballo[extraerPrimerBit(piezas)] & libres);
    piezas = bb[L::Torre] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        n += contarBits(ataquesTorre(t, desde) & libres & permitidas(riesgo, k, desde));
    }
    piezas = bb[L::Alfil] | bb[L::Dama];
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        n += contarBits(ataquesAlfil(t, desde) & libres & permitidas(riesgo, k, desde));
    }

    const Bitboard vacias = ~t.ocupadas();
    const Bitboard enemigas = L::enemigas(t);
    const Bitboard peones = bb[L::Peon];
    n += contarPeones<C>(peones & ~riesgo, TodasLasCasillas, vacias, enemigas);
    piezas = peones & riesgo;
    while (piezas) {
        const Casilla desde = extraerPrimerBit(piezas);
        n += contarPeones<C>(MascaraCasilla[desde], permitidas(riesgo, k, desde), vacias, enemigas);
    }

    n += contarRey<C>(t, k, libres);

    lista.cantidad = 0;
    const Casilla e = casillaAlPasoUtil<C>(t);
    if (e != CasillaNula) agregarAlPaso<C, false>(lista, t, e);
    return n + contarProbando(t, lista, riesgo);
}

// In check every move takes the test, but one that neither moves the king, nor captures en
// passant, nor lands on a checker or between it and the king leaves that check standing: it is
// not made at all.
template <int C> int32_t contarEnJaque(Tablero& t, ListaMovimientos& lista, Casilla k) {
    using L = Lado<C>;
    Bitboard resuelven = TodasLasCasillas;
    Bitboard jaques = atacantesCasilla(t, k) & L::enemigas(t);
    while (jaques) {
        const Casilla c = extraerPrimerBit(jaques);
        resuelven &= Entre[c][k] | MascaraCasilla[c];
    }
    generarTodos(lista, t);
    int32_t n = 0;
    for (int32_t i = 0; i < lista.cantidad; ++i) {
        const Movimiento m = lista.movimientos[i];
        const bool puedeResolver =
            piezaMovida(m) == L::Rey || esAlPaso(m) || ((resuelven >> hastaDe(m)) & 1);
        if (!puedeResolver || !hacerSiLegal(t, m)) continue;
        ++n;
        t.deshacerMovimiento();
    }
    return n;
}

template <int C> int32_t contar(Tablero& t, ListaMovimientos& lista) {
    const Casilla k = casillaReyPresente<C>(t);
    const Bitboard riesgo = casillasDeRiesgo(t, C);
    // Without the king on its recorded square, or with pieces enough to fill a list, every
    // generated move is taken as it comes.
    if (k == CasillaNula || puedeLlenarLista<C>(t)) {
        generarTodos(lista, t);
        return contarProbando(t, lista, riesgo);
    }
    if (riesgo == TodasLasCasillas) return contarEnJaque<C>(t, lista, k);
    return contarFueraDeJaque<C>(t, lista, k, riesgo);
}

} // namespace

uint32_t contarJugadasLegales(Tablero& t, ListaMovimientos& lista) {
    const int32_t n = t.ladoQueMueve ? contar<Blanco>(t, lista) : contar<Negro>(t, lista);
    return static_cast<uint32_t>(n);
}
