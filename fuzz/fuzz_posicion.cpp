// libFuzzer target: arbitrary text read as a FEN record and set up on a board. The board must
// agree with its own recomputation; every generated move, captures and quiet ones, is made and
// unmade with the board checked after each step and restored exactly. When the position is one
// a game can reach and the side to move is in check, the evasion generator must give the
// pseudo-legal moves that leave the king safe, and the legal-move count must agree with them.
// Any other set-up the reader accepts (no king, several kings, kings side by side, pawns on the
// last rank, the other side left in check...) must only give the same answers twice.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "apoyo/consistencia.h"
#include "generacion/ataques.h"
#include "generacion/conteo.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "tablero/zobrist.h"

namespace {

[[noreturn]] void fallar(const std::string& texto, const std::string& que, Movimiento m = 0) {
    std::fprintf(stderr, "\nFEN \"%s\": %s%s%s\n", texto.c_str(), que.c_str(),
                 m ? " tras " : "", m ? movimientoATexto(m).c_str() : "");
    std::abort();
}

int contar(const Tablero& t, int32_t pieza) {
    return static_cast<int>(std::count(t.piezas, t.piezas + 64, pieza));
}

// An en-passant square the generators use says that the pawn in front of it has just come two
// squares: before that, with the pawn back home and the other side to move, the side now to move
// cannot have been in check. (The evasions may differ otherwise: a pawn that takes en passant
// can open a line to its king through the square of the pawn it takes, which a game never does.)
bool alPasoDeJuego(const Tablero& t, Tablero& previa) {
    const Casilla e = t.casillaAlPaso;
    const Casilla peon = t.ladoQueMueve ? e - 8 : e + 8, origen = t.ladoQueMueve ? e + 8 : e - 8;
    const bool usable = t.ladoQueMueve ? e >= 40 && e < 48 && t.piezas[peon] == PeonNegro
                                       : e >= 16 && e < 24 && t.piezas[peon] == PeonBlanco;
    if (!usable || t.piezas[e] != Vacio) return true;
    if (t.piezas[origen] != Vacio) return false;
    previa.limpiar();
    std::copy(t.piezas, t.piezas + 64, previa.piezas);
    std::swap(previa.piezas[peon], previa.piezas[origen]);
    previa.ladoQueMueve = !t.ladoQueMueve;
    previa.casillaRey[Blanco] = t.casillaRey[Blanco];
    previa.casillaRey[Negro] = t.casillaRey[Negro];
    previa.recalcularDerivados();
    return !dejaReyEnJaque(previa);
}

// A position a game can reach, as far as the generators care: one king a side, not side by
// side; no pawn on the first or last rank; the side that has just moved not in check and the
// side to move checked by two pieces at most; no side with more pieces than promotions allow;
// an en-passant square that a double step can have left.
bool posicionDeJuego(const Tablero& t, Tablero& previa) {
    for (int c = 0; c < 2; ++c) {
        if (contar(t, ReyBlanco + c) != 1) return false;
        const int peones = contar(t, PeonBlanco + c);
        int sobrantes = std::max(0, contar(t, DamaBlanca + c) - 1);
        for (int32_t pieza : {CaballoBlanco, AlfilBlanco, TorreBlanca})
            sobrantes += std::max(0, contar(t, pieza + c) - 2);
        if (peones + sobrantes > 8) return false;
    }
    if ((t.bitboardsPieza[PeonBlanco] | t.bitboardsPieza[PeonNegro]) & (Fila1 | Fila8)) return false;
    const Casilla blanco = t.casillaRey[Blanco], negro = t.casillaRey[Negro];
    if (std::abs(filaDe(blanco) - filaDe(negro)) <= 1 &&
        std::abs(columnaDe(blanco) - columnaDe(negro)) <= 1)
        return false;
    if (dejaReyEnJaque(t)) return false;
    const Bitboard enemigas = t.ladoQueMueve ? t.piezasNegras : t.piezasBlancas;
    return __builtin_popcountll(atacantesCasilla(t, t.casillaRey[t.colorQueMueve()]) & enemigas) <=
               2 &&
           alPasoDeJuego(t, previa);
}

void generar(ListaMovimientos& lista, const Tablero& t, bool evasiones) {
    lista.cantidad = 0;
    if (evasiones) {
        generarEvasiones(lista, t);
    } else {
        generarCapturas(lista, t);
        generarTranquilos(lista, t);
    }
}

bool iguales(const ListaMovimientos& a, const ListaMovimientos& b) {
    return a.cantidad == b.cantidad &&
           std::equal(a.movimientos, a.movimientos + a.cantidad, b.movimientos);
}

bool mismoConjunto(ListaMovimientos& a, ListaMovimientos& b) {
    std::sort(a.movimientos, a.movimientos + a.cantidad);
    std::sort(b.movimientos, b.movimientos + b.cantidad);
    return iguales(a, b);
}

std::string enTexto(const ListaMovimientos& lista) {
    std::string texto;
    for (int i = 0; i < lista.cantidad; ++i) texto += movimientoATexto(lista.movimientos[i]) + ' ';
    return texto;
}

struct Estado {
    Tablero tablero{nullptr};
    Tablero antes{nullptr};
    Tablero previa{nullptr};
    ListaMovimientos pseudo{}, repetida{}, legales{}, evasiones{}, conteo{};
};

Estado& estado() {
    static Estado* e = [] {
        inicializarTablas();
        inicializarZobrist();
        return new Estado();
    }();
    return *e;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    estado();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    Estado& e = estado();
    Tablero& t = e.tablero;
    const std::string texto(reinterpret_cast<const char*>(datos), tamano);
    if (!establecerPosicion(t, PosicionFEN(texto))) fallar(texto, "rechazada");
    std::string fallo = inconsistencia(t);
    if (!fallo.empty()) fallar(texto, "al cargar: " + fallo);
    e.antes = t;
    generar(e.pseudo, t, false);
    generar(e.repetida, t, false);
    if (!iguales(e.pseudo, e.repetida)) fallar(texto, "dos generaciones distintas");
    // A full list may have dropped moves; the count does not depend on the list.
    const bool deJuego = posicionDeJuego(t, e.previa) && e.pseudo.cantidad < CapacidadLista;
    const bool variosReyes = contar(t, ReyBlanco) > 1 || contar(t, ReyNegro) > 1;

    e.legales.cantidad = 0;
    for (int i = 0; i < e.pseudo.cantidad; ++i) {
        const Movimiento m = e.pseudo.movimientos[i];
        // The move check of the search answers for positions of a game only: it refuses, say,
        // the capture of a king left in check.
        if (deJuego && !movimientoValido(t, m)) fallar(texto, "generada no valida", m);
        t.hacerMovimiento(m);
        const int32_t capturada = piezaCapturada(m);
        fallo = variosReyes || capturada == ReyBlanco || capturada == ReyNegro
                    ? inconsistenciaSinReyes(t)
                    : inconsistencia(t);
        if (!fallo.empty()) fallar(texto, "al hacer: " + fallo, m);
        if (!dejaReyEnJaque(t)) e.legales.agregar(m);
        t.deshacerMovimiento();
        // The board before agreed with its recomputation, so equal to it this one does too.
        fallo = diferencia(t, e.antes);
        if (!fallo.empty()) fallar(texto, "al deshacer: " + fallo, m);
    }

    generar(e.evasiones, t, true);
    generar(e.repetida, t, true);
    if (!iguales(e.evasiones, e.repetida)) fallar(texto, "dos generaciones de evasiones distintas");
    const uint32_t cuenta = contarJugadasLegales(t, e.conteo);
    if (contarJugadasLegales(t, e.conteo) != cuenta) fallar(texto, "dos conteos distintos");
    fallo = diferencia(t, e.antes);
    if (!fallo.empty()) fallar(texto, "tras generar: " + fallo);

    if (e.pseudo.cantidad < CapacidadLista && cuenta != static_cast<uint32_t>(e.legales.cantidad))
        fallar(texto, "conteo " + std::to_string(cuenta) + " frente a " +
                          std::to_string(e.legales.cantidad) + " legales");
    if (!deJuego) return 0;
    if (enJaque(t) && !mismoConjunto(e.evasiones, e.legales))
        fallar(texto, "evasiones " + enTexto(e.evasiones) + "frente a legales " + enTexto(e.legales));
    if (!enJaque(t) && e.evasiones.cantidad != 0) fallar(texto, "evasiones sin jaque");
    return 0;
}
