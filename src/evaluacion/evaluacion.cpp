#include "evaluacion/evaluacion.h"

namespace evaluacion {

int32_t cambioPorCapturaOTorre(const Tablero& t, Movimiento m) {
    const int32_t pieza = piezaMovida(m);
    const int32_t capturada = piezaCapturada(m);
    const Casilla hasta = hastaDe(m);
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard enHasta = Bitboard{1} << hasta;
    const Bitboard movida = (Bitboard{1} << desdeDe(m)) | enHasta;

    // A rook's move to another file changes its own side's terms alone.
    if (capturada == Vacio) {
        const int lado = colorPieza(pieza);
        const Bitboard propios = bb[PeonBlanco + lado];
        const Bitboard rivales = bb[PeonBlanco + (lado ^ 1)];
        const int32_t cambio = terminosColumnasTorres(bb[pieza] ^ movida, propios, rivales) -
                               terminosColumnasTorres(bb[pieza], propios, rivales);
        return lado == Blanco ? cambio : -cambio;
    }

    const int32_t signo = colorPieza(capturada) == Blanco ? 1 : -1;
    int32_t d = -(signo * ValorMaterial[capturada] + ValorCasilla[capturada][hasta]);
    if (capturada == AlfilBlanco || capturada == AlfilNegro)
        d -= signo * BonoParAlfiles *
             (dosPiezas(bb[capturada]) - dosPiezas(bb[capturada] & ~enHasta));

    // A capture by or of a pawn or a rook moves one of the files the rook terms read.
    const auto esPeonOTorre = [](int32_t p) {
        return p == PeonBlanco || p == PeonNegro || p == TorreBlanca || p == TorreNegra;
    };
    if (esPeonOTorre(pieza) || esPeonOTorre(capturada)) {
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
