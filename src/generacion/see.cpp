#include "generacion/see.h"

#include <algorithm>

#include "generacion/ataques.h"
#include "generacion/bits.h"
#include "generacion/tablas.h"

namespace {

constexpr int32_t ValorSEE[NumCodigosPieza] = {0,   100, 100, 300, 300, 300, 300,
                                               500, 500, 900, 900, 0,   0,   0};

// The sliders of both colours by the lines they move along.
struct Deslizadores {
    Bitboard rectos;     // rooks and queens: ranks and files
    Bitboard diagonales; // bishops and queens
};

// Once the piece on s has taken part, a slider behind it on line d attacks through. The line is
// looked up only when a slider of its kind stands somewhere behind s.
inline Bitboard agregarRayosX(const Tablero& t, int32_t d, Casilla s, Bitboard atacantes,
                              const Deslizadores& deslizadores) {
    const Bitboard detras =
        Rayos[d][s] & (d <= Oeste ? deslizadores.rectos : deslizadores.diagonales);
    if (detras) atacantes |= ataquesLinea(t, d, s) & detras;
    return atacantes;
}

} // namespace

// The captures are played out on attacker sets only, recording what each side would have gained
// after every capture; the gains are then folded back from the last capture, each side keeping
// the better of stopping and going on.
int32_t SEE(const Tablero& t, Casilla hasta, Casilla desde, int bando) {
    // One entry per piece that can take part; a board from text may hold more than 32.
    int32_t ganancia[66];
    ganancia[0] = ValorSEE[t.piezas[hasta]];
    int32_t sobre = ValorSEE[t.piezas[desde]];

    const Bitboard* bb = t.bitboardsPieza;
    const Bitboard damas = bb[DamaBlanca] | bb[DamaNegra];
    const Deslizadores deslizadores = {bb[TorreBlanca] | bb[TorreNegra] | damas,
                                       bb[AlfilBlanco] | bb[AlfilNegro] | damas};
    Bitboard atacantes = atacantesCasilla(t, hasta) & ~(Bitboard{1} << desde);
    if (Direccion[hasta][desde] != SinDireccion)
        atacantes = agregarRayosX(t, Direccion[hasta][desde], desde, atacantes, deslizadores);

    const Bitboard porColor[2] = {t.piezasBlancas, t.piezasNegras};
    int n = 1;
    int lado = bando ^ 1;
    while (atacantes && n < 65) {
        Casilla s = CasillaNula;
        int32_t pieza = Vacio;
        // A side with none of its pieces among the attackers has no capturer: no scan.
        if (atacantes & porColor[lado]) {
            for (int32_t codigo = PeonBlanco + lado; codigo <= DamaBlanca + lado; codigo += 2) {
                const Bitboard candidatos = bb[codigo] & atacantes;
                if (candidatos) {
                    s = primerBitActivo(candidatos);
                    pieza = codigo;
                    break;
                }
            }
        }
        if (pieza == Vacio) {
            const uint32_t k = static_cast<uint32_t>(t.casillaRey[lado]);
            // A side without a king has no last recapture.
            if (k < 64 && (atacantes & (Bitboard{1} << k))) {
                s = static_cast<Casilla>(k);
                pieza = ReyBlanco + lado;
            }
        }
        if (pieza == Vacio) break;

        ganancia[n] = sobre - ganancia[n - 1];
        sobre = ValorSEE[pieza];
        atacantes &= ~(Bitboard{1} << s);
        if (Direccion[hasta][s] != SinDireccion)
            atacantes = agregarRayosX(t, Direccion[hasta][s], s, atacantes, deslizadores);
        ++n;
        lado ^= 1;
    }

    // Most exchanges end after the first capture or the first recapture.
    if (n <= 2) return n == 1 ? ganancia[0] : std::min(ganancia[0], -ganancia[1]);
    for (int k = n - 1; k > 0; --k) ganancia[k - 1] = std::min(ganancia[k - 1], -ganancia[k]);
    return ganancia[0];
}
