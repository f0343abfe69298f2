#include "generacion/jaques.h"

#include "generacion/ataques.h"

void prepararJaques(Jaques& j, const Tablero& t) {
    const int bando = t.colorQueMueve();
    const Casilla k = t.casillaRey[bando ^ 1];
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
    j.descubridoras = bloqueadoresSolos(t, k, bando, t.piezasDe(bando));
}
