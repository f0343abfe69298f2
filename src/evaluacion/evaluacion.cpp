#include "evaluacion/evaluacion.h"

namespace evaluacion {

int32_t cambioPorCapturaOTorre(const Tablero& t, Movimiento m) {
    const int32_t pieza = piezaMovida(m);
    const int32_t capturada = piezaCapturada(m);
    const Casilla hasta = hastaDe(m);
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard enHasta = Bitboard{1} << hasta;
    int32_t d = 0;
    if (capturada != Vacio) {
        const int32_t signo = colorPieza(capturada) == Blanco ? 1 : -1;
        d -= signo * ValorMaterial[capturada] + ValorCasilla[capturada][hasta];
        if (capturada == AlfilBlanco || capturada == AlfilNegro)
            d -= signo * BonoParAlfiles *
                 (dosPiezas(bb[capturada]) - dosPiezas(bb[capturada] & ~enHasta));
    }
    const bool peon = pieza == PeonBlanco || pieza == PeonNegro;
    const bool torre = pieza == TorreBlanca || pieza == TorreNegra;
    const bool tomaPeonOTorre = capturada == PeonBlanco || capturada == PeonNegro ||
                                capturada == TorreBlanca || capturada == TorreNegra;
    if (torre || (capturada != Vacio && (peon || tomaPeonOTorre))) {
        const Bitboard movida = (Bitboard{1} << desdeDe(m)) | enHasta;
        const auto tras = [&](int32_t p) {
            Bitboard b = bb[p];
            if (p == pieza) b ^= movida;
            if (p == capturada) b &= ~enHasta;
            return b;
        };
        d +=
            terminosTorres(tras(TorreBlanca), tras(TorreNegra), tras(PeonBlanco), tras(PeonNegro)) -
            terminosTorres(bb[TorreBlanca], bb[TorreNegra], bb[PeonBlanco], bb[PeonNegro]);
    }
    return d;
}

} // namespace evaluacion
