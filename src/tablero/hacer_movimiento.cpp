#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "evaluacion/tablas_evaluacion.h"
#include "generacion/tablas.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"

namespace {

// Rook squares of each castling kind, indexed by the castling field.
constexpr Casilla TorreOrigen[16] = {0, 7, 63, 0, 0, 0, 0, 0, 56, 0, 0, 0, 0, 0, 0, 0};
constexpr Casilla TorreDestino[16] = {0, 5, 61, 0, 3, 0, 0, 0, 59, 0, 0, 0, 0, 0, 0, 0};

// The four state fields from ladoQueMueve to movidasRegla50 lie alike in the board and in a
// history record, so saving and restoring them is one block copy.
constexpr size_t InicioEstado = offsetof(Tablero, ladoQueMueve);
constexpr size_t BytesEstado = offsetof(Tablero, movidasRegla50) + sizeof(int32_t) - InicioEstado;
constexpr size_t InicioRegistro = offsetof(RegistroHistorial, ladoQueMueve);
static_assert(offsetof(Tablero, casillaAlPaso) - InicioEstado ==
                  offsetof(RegistroHistorial, casillaAlPaso) - InicioRegistro &&
              offsetof(Tablero, derechosEnroque) - InicioEstado ==
                  offsetof(RegistroHistorial, derechosEnroque) - InicioRegistro &&
              offsetof(Tablero, movidasRegla50) - InicioEstado ==
                  offsetof(RegistroHistorial, movidasRegla50) - InicioRegistro);

inline void guardarEstado(RegistroHistorial& r, const Tablero& t) {
    std::memcpy(&r.ladoQueMueve, &t.ladoQueMueve, BytesEstado);
}
inline void reponerEstado(Tablero& t, const RegistroHistorial& r) {
    std::memcpy(&t.ladoQueMueve, &r.ladoQueMueve, BytesEstado);
}

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

// The castling right that piece p leaving or being captured on square s takes away: a rook
// of that right's colour on its home corner.
struct DerechosPorTorre {
    uint8_t derecho[NumCodigosPieza][64] = {};
    constexpr DerechosPorTorre() {
        derecho[TorreBlanca][7] = EnroqueCortoBlanco;
        derecho[TorreBlanca][0] = EnroqueLargoBlanco;
        derecho[TorreNegra][63] = EnroqueCortoNegro;
        derecho[TorreNegra][56] = EnroqueLargoNegro;
    }
};
constexpr DerechosPorTorre DerechoTorre;

inline void quitarDerechoTorre(Tablero& t, int32_t pieza, Casilla s) {
    const int32_t perdido = t.derechosEnroque & DerechoTorre.derecho[pieza][s];
    if (perdido) cambiarEnroque(t, t.derechosEnroque & ~perdido);
}

// The king's board is not kept up to date by make and unmake, so its toggle mask is empty.
constexpr Bitboard Todas = ~Bitboard{0};
constexpr Bitboard MascaraMovida[NumCodigosPieza] = {
    Todas, Todas, Todas, Todas, Todas, Todas, Todas, Todas, Todas, Todas, Todas, 0, 0, Todas};

inline Bitboard& bitboardColor(Tablero& t, int32_t pieza) {
    return colorPieza(pieza) == Blanco ? t.piezasBlancas : t.piezasNegras;
}

// The mover's from and to squares in both colour and piece boards.
inline void alternarMovida(Tablero& t, int32_t pieza, Casilla desde, Casilla hasta) {
    const Bitboard ft = MascaraCasilla[desde] | MascaraCasilla[hasta];
    bitboardColor(t, pieza) ^= ft;
    t.bitboardsPieza[pieza] ^= ft & MascaraMovida[pieza];
}

inline void ponerRotados(Tablero& t, Casilla s) {
    t.Rotado90 |= MascaraRotado90[s];
    t.Rotado45 |= MascaraRotado45[s];
    t.Rotado315 |= MascaraRotado315[s];
}

[[gnu::noinline]] void quitarCapturada(Tablero& t, int32_t capturada, Casilla hasta) {
    ponerRotados(t, hasta);
    t.quitarMaterial(capturada);
    t.hashKey ^= ZobristPieza[capturada][hasta];
    t.valorCasillas -= ValorCasilla[capturada][hasta];
    t.movidasRegla50 = 0;
    t.bitboardsPieza[capturada] &= InversaCasilla[hasta];
    bitboardColor(t, capturada) &= InversaCasilla[hasta];
    quitarDerechoTorre(t, capturada, hasta);
}

// The castling rook of kind `enroque` goes from one of its two squares to the other: forward in
// make, back in unmake. Returns the rook's code.
inline int32_t llevarTorreEnroque(Tablero& t, int32_t enroque, bool blanco, bool adelante) {
    const Casilla origen = TorreOrigen[enroque];
    const Casilla destino = TorreDestino[enroque];
    const int32_t torre = blanco ? TorreBlanca : TorreNegra;
    alternarRotados(t, origen, destino);
    alternarMovida(t, torre, origen, destino);
    t.piezas[adelante ? origen : destino] = Vacio;
    t.piezas[adelante ? destino : origen] = torre;
    return torre;
}

// A piece appears on an empty square or leaves it, in its piece and colour boards and in the
// rotated occupancies: toggling does either.
inline void alternarPieza(Tablero& t, int32_t pieza, Casilla s) {
    t.Rotado90 ^= MascaraRotado90[s];
    t.Rotado45 ^= MascaraRotado45[s];
    t.Rotado315 ^= MascaraRotado315[s];
    t.bitboardsPieza[pieza] ^= MascaraCasilla[s];
    bitboardColor(t, pieza) ^= MascaraCasilla[s];
}

// The pawn that an en-passant capture onto `hasta` takes, behind that square: off the board in
// make, back on it in unmake.
inline void llevarPeonAlPaso(Tablero& t, Casilla hasta, bool blanco, bool adelante) {
    const Casilla s = blanco ? hasta - 8 : hasta + 8;
    const int32_t peon = blanco ? PeonNegro : PeonBlanco;
    alternarPieza(t, peon, s);
    t.piezas[s] = adelante ? Vacio : peon;
    if (adelante) {
        t.hashKey ^= ZobristPieza[peon][s];
        t.valorCasillas -= ValorCasilla[peon][s];
        t.quitarMaterial(peon);
    } else {
        t.agregarMaterial(peon);
    }
}

// The pawn on `hasta` becomes the promoted piece in make and turns back in unmake, in the piece
// boards and the material; make also writes the piece array, the key and the piece-square sum. A
// promotion code of the other colour only takes the pawn away.
inline void llevarPromocion(Tablero& t, int32_t peon, int32_t promocion, Casilla hasta,
                            bool adelante) {
    const bool propia = colorPieza(promocion) == colorPieza(peon);
    t.bitboardsPieza[peon] ^= MascaraCasilla[hasta];
    if (propia) t.bitboardsPieza[promocion] ^= MascaraCasilla[hasta];
    if (!adelante) {
        t.agregarMaterial(peon);
        if (propia) t.quitarMaterial(promocion);
        return;
    }
    t.quitarMaterial(peon);
    t.hashKey ^= ZobristPieza[peon][hasta];
    t.valorCasillas -= ValorCasilla[peon][hasta];
    if (propia) {
        t.piezas[hasta] = promocion;
        t.agregarMaterial(promocion);
        t.hashKey ^= ZobristPieza[promocion][hasta];
        t.valorCasillas += ValorCasilla[promocion][hasta];
    }
}

using CuerpoMovida = void (*)(Tablero& t, Movimiento m);

// Make and unmake sort the movers alike: kings and pawns have out-of-line bodies for their
// special cases, so the common piece move pays for no more register saving than it uses.
template <CuerpoMovida Rey, CuerpoMovida Peon, CuerpoMovida Otra>
inline void segunMovida(Tablero& t, Movimiento m) {
    switch (piezaMovida(m)) {
    case ReyBlanco:
    case ReyNegro:
        Rey(t, m);
        break;
    case PeonBlanco:
    case PeonNegro:
        Peon(t, m);
        break;
    default:
        Otra(t, m);
        break;
    }
}

// Any other piece: a rook leaving its corner takes that corner's castling right.
inline void hacerPieza(Tablero& t, Movimiento m) {
    quitarDerechoTorre(t, piezaMovida(m), desdeDe(m));
    if (piezaCapturada(m) != Vacio) quitarCapturada(t, piezaCapturada(m), hastaDe(m));
}

[[gnu::noinline]] void hacerRey(Tablero& t, Movimiento m) {
    const int32_t pieza = piezaMovida(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    t.casillaRey[blanco ? Blanco : Negro] = hastaDe(m);
    cambiarEnroque(t, t.derechosEnroque & (blanco ? ~(EnroqueCortoBlanco | EnroqueLargoBlanco)
                                                  : ~(EnroqueCortoNegro | EnroqueLargoNegro)));
    const int32_t enroque = tipoEnroque(m);
    if (enroque != 0) {
        // The rook's own right went with the king's rights above.
        const int32_t torre = llevarTorreEnroque(t, enroque, blanco, true);
        const Casilla origen = TorreOrigen[enroque];
        const Casilla destino = TorreDestino[enroque];
        t.hashKey ^= ZobristPieza[torre][origen] ^ ZobristPieza[torre][destino];
        t.valorCasillas += ValorCasilla[torre][destino] - ValorCasilla[torre][origen];
    }
    const int32_t capturada = piezaCapturada(m);
    if (capturada != Vacio) quitarCapturada(t, capturada, hastaDe(m));
}

[[gnu::noinline]] void hacerPeon(Tablero& t, Movimiento m) {
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    t.movidasRegla50 = 0;
    if (esAlPaso(m)) {
        llevarPeonAlPaso(t, hasta, blanco, true);
        return;
    }
    const int32_t promocion = piezaPromocion(m);
    if (promocion != Vacio) {
        llevarPromocion(t, pieza, promocion, hasta, true);
    } else if ((blanco ? hasta - desde : desde - hasta) == 16) {
        if (VecinosAlPaso[hasta] & (blanco ? t.piezasNegras : t.piezasBlancas)) {
            t.casillaAlPaso = blanco ? desde + 8 : desde - 8;
            t.hashKey ^= ZobristAlPaso[t.casillaAlPaso];
        }
    }
    const int32_t capturada = piezaCapturada(m);
    if (capturada != Vacio) quitarCapturada(t, capturada, hasta);
}

} // namespace

// Every mover leaves its from square for its to square in the piece array, the boards, the key
// and the piece-square sum; what else changes depends on its kind.
void Tablero::hacerMovimiento(Movimiento m) {
    if (__builtin_expect(numHistorial >= CapacidadHistorial, 0)) historialDesbordado();
    RegistroHistorial& registro = historial[numHistorial++];
    registro.movimiento = m;
    guardarEstado(registro, *this);
    registro.hashKey = hashKey;
    registro.valorCasillas = valorCasillas;

    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    hashKey = claveTrasMovida(pieza, desde, hasta);
    valorCasillas += ValorCasilla[pieza][hasta] - ValorCasilla[pieza][desde];
    ladoQueMueve = !ladoQueMueve;
    casillaAlPaso = CasillaNula;
    ++movidasRegla50;
    alternarRotados(*this, desde, hasta);
    piezas[desde] = Vacio;
    piezas[hasta] = pieza;
    alternarMovida(*this, pieza, desde, hasta);

    segunMovida<hacerRey, hacerPeon, hacerPieza>(*this, m);
}

namespace {

[[gnu::noinline]] void reponerCapturada(Tablero& t, int32_t capturada, Casilla hasta) {
    ponerRotados(t, hasta);
    t.agregarMaterial(capturada);
    t.piezas[hasta] = capturada;
    t.bitboardsPieza[capturada] |= MascaraCasilla[hasta];
    bitboardColor(t, capturada) |= MascaraCasilla[hasta];
}

inline void deshacerPieza(Tablero& t, Movimiento m) {
    if (piezaCapturada(m) != Vacio) reponerCapturada(t, piezaCapturada(m), hastaDe(m));
}

[[gnu::noinline]] void deshacerRey(Tablero& t, Movimiento m) {
    const int32_t pieza = piezaMovida(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    t.casillaRey[blanco ? Blanco : Negro] = desdeDe(m);
    const int32_t enroque = tipoEnroque(m);
    if (enroque != 0) llevarTorreEnroque(t, enroque, blanco, false);
    const int32_t capturada = piezaCapturada(m);
    if (capturada != Vacio) reponerCapturada(t, capturada, hastaDe(m));
}

[[gnu::noinline]] void deshacerPeon(Tablero& t, Movimiento m) {
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    const bool blanco = colorPieza(pieza) == Blanco;
    if (esAlPaso(m)) {
        llevarPeonAlPaso(t, hasta, blanco, false);
        return;
    }
    const int32_t promocion = piezaPromocion(m);
    if (promocion != Vacio) llevarPromocion(t, pieza, promocion, hasta, false);
    const int32_t capturada = piezaCapturada(m);
    if (capturada != Vacio) reponerCapturada(t, capturada, hasta);
}

} // namespace

void Tablero::deshacerMovimiento() {
    const RegistroHistorial& registro = historial[--numHistorial];
    reponerEstado(*this, registro);
    hashKey = registro.hashKey;
    valorCasillas = registro.valorCasillas;

    const Movimiento m = registro.movimiento;
    const Casilla desde = desdeDe(m);
    const Casilla hasta = hastaDe(m);
    const int32_t pieza = piezaMovida(m);
    alternarRotados(*this, desde, hasta);
    piezas[hasta] = Vacio;
    piezas[desde] = pieza;
    alternarMovida(*this, pieza, desde, hasta);

    segunMovida<deshacerRey, deshacerPeon, deshacerPieza>(*this, m);
}

void Tablero::hacerMovimientoNulo() {
    if (__builtin_expect(numHistorial >= CapacidadHistorial, 0)) historialDesbordado();
    guardarEstado(historial[numHistorial++], *this);
    ++movidasRegla50;
    ladoQueMueve = !ladoQueMueve;
    casillaAlPaso = CasillaNula;
    hashKey ^= ZobristNulo;
}

void Tablero::deshacerMovimientoNulo() {
    hashKey ^= ZobristNulo;
    reponerEstado(*this, historial[--numHistorial]);
}
