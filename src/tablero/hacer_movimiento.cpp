#include <cstdio>
#include <cstdlib>

#include "generacion/tablas.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"

namespace {

// Rook squares of each castling kind, indexed by the castling field.
constexpr Casilla TorreOrigen[16] = {0, 7, 63, 0, 0, 0, 0, 0, 56, 0, 0, 0, 0, 0, 0, 0};
constexpr Casilla TorreDestino[16] = {0, 5, 61, 0, 3, 0, 0, 0, 59, 0, 0, 0, 0, 0, 0, 0};

[[noreturn]] void historialDesbordado() {
    std::fprintf(stderr, "Historial lleno: mas de %d movimientos hechos a la vez\n",
                 CapacidadHistorial);
    std::abort();
}

inline void alternarRotados(Tablero& t, Casilla a, Casilla b) {
    t.Rotado90 ^= MascaraRotado90[a] | MascaraRotado90[b];
    t.Rotado45 ^= MascaraRotado45[a] | MascaraRotado45[b];
    t.Rotado315 ^= MascaraRotado315[a] | MascaraRotado315[b];
}

inline void cambiarEnroque(Tablero& t, int32_t nuevos) {
    t.hashKey ^= ZobristEnroque[t.derechosEnroque] ^ ZobristEnroque[nuevos];
    t.derechosEnroque = nuevos;
}

// A rook leaving or captured on its home square takes that right away.
inline void quitarDerechoTorre(Tablero& t, int32_t torre, Casilla s) {
    if (torre == TorreBlanca) {
        if ((t.derechosEnroque & EnroqueCortoBlanco) && s == 7)
            cambiarEnroque(t, t.derechosEnroque & ~EnroqueCortoBlanco);
        else if ((t.derechosEnroque & EnroqueLargoBlanco) && s == 0)
            cambiarEnroque(t, t.derechosEnroque & ~EnroqueLargoBlanco);
    } else if (torre == TorreNegra) {
        if ((t.derechosEnroque & EnroqueCortoNegro) && s == 63)
            cambiarEnroque(t, t.derechosEnroque & ~EnroqueCortoNegro);
        else if ((t.derechosEnroque & EnroqueLargoNegro) && s == 56)
            cambiarEnroque(t, t.derechosEnroque & ~EnroqueLargoNegro);
    }
}

inline void moverPieza(Tablero& t, Bitboard& propias, int32_t p, Casilla desde, Casilla hasta) {
    const Bitboard ft = MascaraCasilla[desde] | MascaraCasilla[hasta];
    propias ^= ft;
    t.bitboardsPieza[p] ^= ft;
    t.piezas[hasta] = p;
    t.hashKey ^= ZobristPieza[p][hasta];
    quitarDerechoTorre(t, p, desde);
}

inline void ponerRotados(Tablero& t, Casilla s) {
    t.Rotado90 |= MascaraRotado90[s];
    t.Rotado45 |= MascaraRotado45[s];
    t.Rotado315 |= MascaraRotado315[s];
}

inline void quitarRotados(Tablero& t, Casilla s) {
    t.Rotado90 &= InversaRotado90[s];
    t.Rotado45 &= InversaRotado45[s];
    t.Rotado315 &= InversaRotado315[s];
}

} // namespace

void Tablero::hacerMovimiento(Movimiento m) {
    if (__builtin_expect(numHistorial >= CapacidadHistorial, 0)) historialDesbordado();
    RegistroHistorial& registro = historial[numHistorial++];
    registro.movimiento = m;
    registro.ladoQueMueve = ladoQueMueve;
    registro.casillaAlPaso = casillaAlPaso;
    registro.derechosEnroque = derechosEnroque;
    registro.movidasRegla50 = movidasRegla50;
    registro.hashKey = hashKey;

    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    const int32_t capturada = piezaCapturada(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    Bitboard& propias = blanco ? piezasBlancas : piezasNegras;
    Bitboard& contrarias = blanco ? piezasNegras : piezasBlancas;

    hashKey = ~hashKey;
    ladoQueMueve = !ladoQueMueve;
    hashKey ^= ZobristAlPaso[casillaAlPaso];
    casillaAlPaso = CasillaNula;
    ++movidasRegla50;
    alternarRotados(*this, desde, hasta);
    piezas[desde] = Vacio;
    hashKey ^= ZobristPieza[pieza][desde];

    switch (pieza) {
    case ReyBlanco:
    case ReyNegro: {
        propias ^= MascaraCasilla[desde] | MascaraCasilla[hasta];
        piezas[hasta] = pieza;
        casillaRey[blanco ? Blanco : Negro] = hasta;
        cambiarEnroque(*this,
                       derechosEnroque & (blanco ? ~(EnroqueCortoBlanco | EnroqueLargoBlanco)
                                                 : ~(EnroqueCortoNegro | EnroqueLargoNegro)));
        hashKey ^= ZobristPieza[pieza][hasta];
        const int32_t enroque = tipoEnroque(m);
        if (enroque != 0) {
            const Casilla origen = TorreOrigen[enroque];
            const Casilla destino = TorreDestino[enroque];
            const int32_t torre = blanco ? TorreBlanca : TorreNegra;
            alternarRotados(*this, origen, destino);
            piezas[origen] = Vacio;
            hashKey ^= ZobristPieza[torre][origen];
            moverPieza(*this, propias, torre, origen, destino);
        }
        break;
    }
    case PeonBlanco:
    case PeonNegro: {
        const Bitboard ft = MascaraCasilla[desde] | MascaraCasilla[hasta];
        propias ^= ft;
        bitboardsPieza[pieza] ^= ft;
        piezas[hasta] = pieza;
        movidasRegla50 = 0;
        hashKey ^= ZobristPieza[pieza][hasta];
        const int32_t promocion = piezaPromocion(m);
        if (esAlPaso(m)) {
            const Casilla s = blanco ? hasta - 8 : hasta + 8;
            const int32_t peonContrario = blanco ? PeonNegro : PeonBlanco;
            quitarRotados(*this, s);
            bitboardsPieza[peonContrario] &= InversaCasilla[s];
            contrarias &= InversaCasilla[s];
            piezas[s] = Vacio;
            hashKey ^= ZobristPieza[peonContrario][s];
            quitarMaterial(peonContrario);
            return;
        }
        if (promocion != Vacio) {
            bitboardsPieza[pieza] &= InversaCasilla[hasta];
            quitarMaterial(pieza);
            hashKey ^= ZobristPieza[pieza][hasta];
            if (colorPieza(promocion) == colorPieza(pieza)) {
                bitboardsPieza[promocion] |= MascaraCasilla[hasta];
                piezas[hasta] = promocion;
                agregarMaterial(promocion);
                hashKey ^= ZobristPieza[promocion][hasta];
            }
        } else if ((blanco ? hasta - desde : desde - hasta) == 16) {
            if (VecinosAlPaso[hasta] & contrarias) {
                casillaAlPaso = blanco ? desde + 8 : desde - 8;
                hashKey ^= ZobristAlPaso[casillaAlPaso];
            }
        }
        break;
    }
    default:
        moverPieza(*this, propias, pieza, desde, hasta);
        break;
    }

    if (capturada != Vacio) {
        ponerRotados(*this, hasta);
        quitarMaterial(capturada);
        hashKey ^= ZobristPieza[capturada][hasta];
        movidasRegla50 = 0;
        bitboardsPieza[capturada] &= InversaCasilla[hasta];
        (colorPieza(capturada) == Blanco ? piezasBlancas : piezasNegras) &= InversaCasilla[hasta];
        quitarDerechoTorre(*this, capturada, hasta);
    }
}

void Tablero::deshacerMovimiento() {
    const RegistroHistorial& registro = historial[--numHistorial];
    ladoQueMueve = registro.ladoQueMueve;
    casillaAlPaso = registro.casillaAlPaso;
    derechosEnroque = registro.derechosEnroque;
    movidasRegla50 = registro.movidasRegla50;
    hashKey = registro.hashKey;

    const Movimiento m = registro.movimiento;
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    const int32_t capturada = piezaCapturada(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    Bitboard& propias = blanco ? piezasBlancas : piezasNegras;
    Bitboard& contrarias = blanco ? piezasNegras : piezasBlancas;
    const Bitboard ft = MascaraCasilla[desde] | MascaraCasilla[hasta];

    alternarRotados(*this, desde, hasta);
    piezas[hasta] = Vacio;

    switch (pieza) {
    case ReyBlanco:
    case ReyNegro: {
        propias ^= ft;
        piezas[desde] = pieza;
        casillaRey[blanco ? Blanco : Negro] = desde;
        const int32_t enroque = tipoEnroque(m);
        if (enroque != 0) {
            const Casilla origen = TorreOrigen[enroque];
            const Casilla destino = TorreDestino[enroque];
            const int32_t torre = blanco ? TorreBlanca : TorreNegra;
            const Bitboard ftTorre = MascaraCasilla[origen] | MascaraCasilla[destino];
            alternarRotados(*this, origen, destino);
            piezas[destino] = Vacio;
            propias ^= ftTorre;
            bitboardsPieza[torre] ^= ftTorre;
            piezas[origen] = torre;
        }
        break;
    }
    case PeonBlanco:
    case PeonNegro: {
        propias ^= ft;
        bitboardsPieza[pieza] ^= ft;
        piezas[desde] = pieza;
        if (esAlPaso(m)) {
            const Casilla s = blanco ? hasta - 8 : hasta + 8;
            const int32_t peonContrario = blanco ? PeonNegro : PeonBlanco;
            bitboardsPieza[peonContrario] |= MascaraCasilla[s];
            contrarias |= MascaraCasilla[s];
            ponerRotados(*this, s);
            piezas[s] = peonContrario;
            agregarMaterial(peonContrario);
            return;
        }
        const int32_t promocion = piezaPromocion(m);
        if (promocion != Vacio) {
            bitboardsPieza[pieza] &= InversaCasilla[hasta];
            agregarMaterial(pieza);
            if (colorPieza(promocion) == colorPieza(pieza)) {
                bitboardsPieza[promocion] &= InversaCasilla[hasta];
                quitarMaterial(promocion);
            }
        }
        break;
    }
    default:
        propias ^= ft;
        bitboardsPieza[pieza] ^= ft;
        piezas[desde] = pieza;
        break;
    }

    if (capturada != Vacio) {
        ponerRotados(*this, hasta);
        agregarMaterial(capturada);
        piezas[hasta] = capturada;
        bitboardsPieza[capturada] |= MascaraCasilla[hasta];
        (colorPieza(capturada) == Blanco ? piezasBlancas : piezasNegras) |= MascaraCasilla[hasta];
    }
}

void Tablero::hacerMovimientoNulo() {
    if (__builtin_expect(numHistorial >= CapacidadHistorial, 0)) historialDesbordado();
    RegistroHistorial& registro = historial[numHistorial++];
    registro.ladoQueMueve = ladoQueMueve;
    registro.casillaAlPaso = casillaAlPaso;
    registro.derechosEnroque = derechosEnroque;
    registro.movidasRegla50 = movidasRegla50;
    ++movidasRegla50;
    ladoQueMueve = !ladoQueMueve;
    casillaAlPaso = CasillaNula;
    hashKey ^= ZobristNulo;
}

void Tablero::deshacerMovimientoNulo() {
    hashKey ^= ZobristNulo;
    const RegistroHistorial& registro = historial[--numHistorial];
    ladoQueMueve = registro.ladoQueMueve;
    casillaAlPaso = registro.casillaAlPaso;
    derechosEnroque = registro.derechosEnroque;
    movidasRegla50 = registro.movidasRegla50;
}
