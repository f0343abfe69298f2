#include "generacion/jaques.h"

#include "generacion/ataques.h"

void prepararJaques(Jaques& j, const Tablero& t) {
    const int bando = t.colorQueMueve();
    const int enemigo = bando ^ 1;
    const Casilla k = t.casillaRey[enemigo];
    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard lineasTorre = ataquesTorre(t, k);
    const Bitboard lineasAlfil = ataquesAlfil(t, k);
    j.rey = k;
    // A pawn of the side to move attacks k from where a pawn of the other side on k would attack.
    j.directos[PeonBlanco + bando] =
        bando == Blanco ? TablaAtaquesPeonNegro[k] : TablaAtaquesPeonBlanco[k];
    j.directos[CaballoBlanco + bando] = TablaAtaquesCaballo[k];
    j.directos[AlfilBlanco + bando] = lineasAlfil;
    j.directos[TorreBlanca + bando] = lineasTorre;
    j.directos[DamaBlanca + bando] = lineasAlfil | lineasTorre;
    j.directos[ReyBlanco + bando] = 0;

    const Bitboard damas = bb[DamaBlanca + bando];
    const Bitboard propias = bando == Blanco ? t.piezasBlancas : t.piezasNegras;
    j.descubridoras = bloqueadoresSolos(t, k, bb[TorreBlanca + bando] | damas,
                                        bb[AlfilBlanco + bando] | damas, propias);
}
