#pragma once

#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/ordenacion.h"
#include "busqueda/puntuaciones.h"
#include "busqueda/tabla_hash.h"
#include "evaluacion/evaluacion.h"
#include "generacion/ataques.h"
#include "generacion/jaques.h"
#include "tablero/tablero.h"

// The steps of a node, inline in the searches that take them: those that the main search and the
// root take alike, and the main search's extension of each move.

// A mate threat and a single reply to check each extend a move by three quarters of a ply.
constexpr int32_t ExtensionAmenaza = 6;
constexpr int32_t ExtensionRespuestaUnica = 6;

// The next move of the node's list: evasions when the node is in check; 0 when none is left.
inline Movimiento siguienteDeNodo(ListaMovimientos& lista, bool enJaqueNodo) {
    return enJaqueNodo ? siguienteEvasion(lista) : siguienteMovimiento(lista);
}

// The squares that a move of the node's side must leave to need the legality test after make.
// A node in check needs none: its evasions are legal by construction.
inline Bitboard riesgoDeNodo(const Tablero& t, bool enJaqueNodo) {
    return enJaqueNodo ? 0 : casillasDeRiesgo(t, t.colorQueMueve());
}

// Makes a move of the node's list and keeps it when legal. Evasions are made untested; any other
// move is tested when it leaves one of the node's risky squares.
inline bool hacerDeNodo(Tablero& t, Movimiento m, bool enJaqueNodo, Bitboard riesgo) {
    if (!enJaqueNodo) return hacerSiLegal(t, m, riesgo);
    t.hacerMovimiento(m);
    return true;
}

// The table's entry for this node, if any, gives its first move; its mate-threat mark is then
// `tablaHash->amenazaAcierto()`, false without an entry.
inline int32_t Busqueda::sondearTabla(uint64_t clave, int32_t profundidad, int32_t ply) {
    const int32_t sondeo = tablaHash->sondear(clave, profundidad);
    if (sondeo != SondeoFallido) movimientoHash[ply] = tablaHash->movimientoAcierto();
    return sondeo;
}

// Called right after a move is made at `ply`: records whether it gives check (the child's
// in-check mark) and extends a checking move by one ply.
inline int32_t Busqueda::extensionJaque(int32_t ply) {
    const bool daJaque = enJaque(*tablero);
    marcaJaque[ply + 1] = daJaque;
    if (!daJaque) return 0;
    ++estadisticas.extensionesJaque;
    return UnPly;
}

// Fetches the table slots that children will probe, ahead of their probes: that of the move about
// to be made, which comes in while the move is made and extended, and that of the next one in a
// list in order, which comes in while the current move's subtree is searched.
inline void Busqueda::anticiparHijos(const ListaMovimientos& lista, Movimiento m) {
    const Tablero& t = *tablero;
    tablaHash->anticipar(t.clavePrevista(m));
    if (entregaDirecta(lista))
        tablaHash->anticipar(t.clavePrevista(lista.movimientos[lista.siguiente]));
}

// Resolves a leaf of the main search: the side to move may stand pat on the static evaluation or
// try a capture or promotion, best exchange first, skipping those that lose material by static
// exchange. No table, no repetition test and no check detection; fail-hard at beta, and the bare
// evaluation when no capture was searched. Inline: most nodes stop at the evaluation, and the
// main search's last ply reaches them without a call.
inline int32_t Busqueda::qsearch(int32_t alfa, int32_t beta, int32_t ply) {
    ++estadisticas.nodos;
    ++estadisticas.nodosQsearch;
    if (comprobarTiempo()) return 0;

    const int32_t estatica = evaluar(*tablero);
    if (estatica >= beta) return beta;
    return qsearchCapturas(alfa, beta, ply, estatica);
}

// The score of the position after a move, from the mover's side: the main search while a whole
// ply is left, the quiescence search below that. `ply` is the child's.
inline int32_t Busqueda::buscarHijo(int32_t profundidad, int32_t alfa, int32_t beta, int32_t ply,
                                    bool nuloPermitido) {
    if (profundidad < UnPly) return -qsearch(-beta, -alfa, ply);
    // The child probes the table early on: its slot is fetched while the child starts.
    tablaHash->anticipar(tablero->hashKey);
    return -buscar(profundidad, -beta, -alfa, ply, nuloPermitido);
}

// Called right after a move is made at `ply`: a check, a known mate threat and a single reply to
// check each extend the move, by at most one ply in all, fading out deep in the tree. The
// counters count the reasons, whatever the cap and the fading leave of them.
inline int32_t Busqueda::extension(int32_t ply, bool amenaza) {
    int32_t e = extensionJaque(ply);
    if (amenaza) {
        e += ExtensionAmenaza;
        ++estadisticas.extensionesAmenaza;
    }
    // The count is the list as it stands, which still holds the hash move while that is searched.
    if (marcaJaque[ply] && listas[ply].cantidad == 1) {
        e += ExtensionRespuestaUnica;
        ++estadisticas.extensionesRespuestaUnica;
    }
    // Most moves have no reason to extend: nothing to cap or fade, and no division.
    if (e == 0) return 0;
    if (e > UnPly) e = UnPly;
    return atenuarExtension(e, ply);
}

// Extensions fade out between twice and four times the iteration depth.
inline int32_t Busqueda::atenuarExtension(int32_t e, int32_t ply) const {
    const int32_t n = iteracion;
    if (ply <= 2 * n) return e;
    if (ply <= 4 * n) return ((4 * n - ply) * e) / (2 * n);
    return 0;
}

// A node with no legal move: mated when in check, else stalemate.
inline int32_t Busqueda::sinMovimientos(int32_t ply) const {
    return marcaJaque[ply] ? ply - PuntuacionMate : PuntuacionTablas;
}

// What a node of the last ply knows before its moves are made. There every move that gives no
// check leads to the quiescence search, whose first step is to stand pat when the static
// evaluation holds its beta; that evaluation follows from this node's.
struct Frontera {
    int32_t evaluacion;
    Bitboard riesgo;
    Jaques jaques;
};

// Whether a node not in check is of the last ply: its moves that give no check, extended by the
// threat alone, are left with less than a ply.
inline bool Busqueda::esFrontera(int32_t profundidad, int32_t ply, bool amenaza) const {
    return profundidad - UnPly + (amenaza ? atenuarExtension(ExtensionAmenaza, ply) : 0) < UnPly;
}

// Whether the child of m would stand pat at once, returning alpha, which changes nothing here:
// m takes a piece from one square to another, is legal, gives no check, and leaves the
// evaluation at or below alpha.
inline bool hojaPlantada(const Tablero& t, const Frontera& f, Movimiento m, int32_t alfa) {
    return esMovimientoSencillo(m) && f.evaluacion + cambioEvaluacion(t, m) <= alfa &&
           legalSinHacer(t, m, f.riesgo) && !daJaque(f.jaques, m);
}

// Counts what the search of such a child counts, without making the move: the threat extension
// it gets, and its node. Answers whether the search stops there.
inline bool Busqueda::contarHojaPlantada(bool amenaza) {
    if (amenaza) ++estadisticas.extensionesAmenaza;
    ++estadisticas.nodos;
    ++estadisticas.nodosQsearch;
    return comprobarTiempo();
}
