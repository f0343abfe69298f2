#include "busqueda/nodo.h"

namespace {

// The null move searches three plies shallower with depth and material to spare, else two.
constexpr int32_t ReduccionMaxima = 24;
constexpr int32_t ReduccionMinima = 16;
constexpr int32_t ProfundidadReduccionMaxima = 48;
// With this many piece units or fewer, passing may be the best move, so deep nodes do not try it.
constexpr int32_t UnidadesSinZugzwang = 9;
constexpr int32_t ProfundidadNuloSinMaterial = 56;
// Nodes this deep have children that probe the table, whose slots are worth fetching early.
constexpr int32_t ProfundidadAnticipar = 2 * UnPly;

} // namespace

// The alpha-beta search of a node below the root, fail-hard: the result lies between alpha and
// beta but for mate, draw and exact table scores. Every move gets the full window.
int32_t Busqueda::buscar(int32_t profundidad, int32_t alfa, int32_t beta, int32_t ply,
                         bool nuloPermitido) {
    // 1. Count the node and poll the clock and the console; once stopped, every node returns 0.
    ++estadisticas.nodos;
    if (comprobarTiempo()) return 0;

    // 2. The per-ply tables end here.
    if (ply >= MaxPly) return alfa;

    // 3. No hash move and an empty line until this node finds better.
    Tablero& t = *tablero;
    movimientoHash[ply] = MovimientoNulo;
    longitudVariante[ply] = ply;
    const int32_t alfaEntrada = alfa;
    Movimiento mejor = MovimientoNulo;
    int32_t buscados = 0;

    // 4. A position seen before on the path (at ply 2, twice in the game) is a draw.
    if (esRepeticion(ply)) return PuntuacionTablas;

    // 5. The table gives the first move and the threat mark, and a deep enough entry ends the
    // node when its bound settles the score.
    const uint64_t clave = t.hashKey;
    const int32_t sondeo = sondearTabla(clave, profundidad, ply);
    bool amenaza = tablaHash->amenazaAcierto();
    switch (sondeo) {
    case CotaSuperior: {
        const int32_t s = tablaHash->puntuacion(ply);
        // Below beta already: a null move here or below would hardly reach it.
        if (s < beta) nuloPermitido = false;
        if (s <= alfa) {
            ++estadisticas.cortesHashAlfa;
            return alfa;
        }
        break;
    }
    case CotaInferior:
        if (tablaHash->puntuacion(ply) >= beta) {
            ++estadisticas.cortesHashBeta;
            return beta;
        }
        break;
    case CotaExacta:
        ++estadisticas.cortesHashExacto;
        return tablaHash->puntuacion(ply);
    default:
        break;
    }
    // 5.1 The hash move comes first, perhaps after a null move: its child's slot is fetched now.
    if (profundidad >= ProfundidadAnticipar && movimientoHash[ply] != MovimientoNulo)
        tablaHash->anticipar(t.clavePrevista(movimientoHash[ply]));

    // 6. The child is out of check until a move made here says otherwise.
    marcaJaque[ply + 1] = false;

    // 7. Null move: if passing still holds beta, a real move would too. Not in check, not under
    // a known mate threat, and not deep in a position with little material.
    const bool enJaqueNodo = marcaJaque[ply];
    const int32_t unidades = t.valorPiezas[t.colorQueMueve()];
    if (nuloPermitido && !amenaza && !enJaqueNodo &&
        (unidades > UnidadesSinZugzwang || profundidad < ProfundidadNuloSinMaterial)) {
        const int32_t r = profundidad > ProfundidadReduccionMaxima && unidades > UnidadesSinZugzwang
                              ? ReduccionMaxima
                              : ReduccionMinima;
        t.hacerMovimientoNulo();
        ++estadisticas.intentosNulo;
        const int32_t s = buscarHijo(profundidad - r, beta - 1, beta, ply + 1, false);
        t.deshacerMovimientoNulo();
        if (detener) return 0;
        if (s >= beta) {
            if (r == ReduccionMaxima)
                ++estadisticas.cortesNuloMax;
            else
                ++estadisticas.cortesNuloMin;
            tablaHash->guardar(clave, ply, s, CotaInferior, MovimientoNulo, profundidad, false);
            return beta;
        }
        // Doing nothing gets mated: every move here is extended.
        if (s < -UmbralMate) amenaza = true;
    }

    // 8. Moves come staged from this ply's list; evasions when in check.
    ListaMovimientos& lista = listas[ply];
    iniciarLista(lista, tablero, this, ply, enJaqueNodo ? ModoEvasiones : ModoBusqueda);

    // 9. Search every legal move, extended, one ply shallower.
    const Bitboard riesgo = riesgoDeNodo(t, enJaqueNodo);
    // 9.1 On the last ply, the children that would stand pat at once are told beforehand.
    Frontera frontera;
    const bool enFrontera =
        hojasPrevisibles && !enJaqueNodo && esFrontera(profundidad, ply, amenaza);
    if (enFrontera) {
        frontera.evaluacion = evaluar(t);
        frontera.riesgo = riesgo;
        prepararJaques(frontera.jaques, t);
    }
    while (const Movimiento m = siguienteDeNodo(lista, enJaqueNodo)) {
        // From two plies up the children run the main search, which probes the table.
        if (profundidad >= ProfundidadAnticipar) anticiparHijos(lista, m);
        if (enFrontera && hojaPlantada(t, frontera, m, alfa)) {
            ++buscados;
            if (contarHojaPlantada(amenaza)) return 0;
            continue;
        }
        if (!hacerDeNodo(t, m, enJaqueNodo, riesgo)) continue;
        ++buscados;
        const int32_t nuevaProfundidad = profundidad - UnPly + extension(ply, amenaza);
        const int32_t s = buscarHijo(nuevaProfundidad, alfa, beta, ply + 1, nuloPermitido);
        t.deshacerMovimiento();
        if (detener) return 0;

        // 9.2 A move that reaches beta refutes the parent's move: store the bound and leave.
        if (s >= beta) {
            if (buscados == 1) ++estadisticas.cortesPrimerMovimiento;
            ++estadisticas.cortesBeta;
            tablaHash->guardar(clave, ply, beta, CotaInferior, m, profundidad, amenaza);
            return beta;
        }
        // 9.3 A new best move extends the line; a quiet one also guides the ordering.
        if (s > alfa) {
            alfa = s;
            mejor = m;
            actualizarVariante(ply, m);
            actualizarKillersHistoria(ply, m, profundidad);
        }
    }

    // 10. No legal move is mate or stalemate; past the fifty-move limit the node is a draw;
    // otherwise the table keeps the score, exact when a move raised alpha.
    if (buscados == 0) return sinMovimientos(ply);
    if (t.movidasRegla50 > LimiteRegla50) return PuntuacionTablas;
    tablaHash->guardar(clave, ply, alfa, alfa == alfaEntrada ? CotaSuperior : CotaExacta, mejor,
                       profundidad, amenaza);
    return alfa;
}

// Quiet moves that raise alpha become killers and feed the history table.
void Busqueda::actualizarKillersHistoria(int32_t ply, Movimiento m, int32_t profundidad) {
    if (piezaCapturada(m) != Vacio) return;
    if (m != killer1[ply]) {
        killer2[ply] = killer1[ply];
        killer1[ply] = m;
    }
    historia[piezaMovida(m)][hastaDe(m)] += profundidad / UnPly;
}

// Looks for this position's key among the earlier positions with the same side to move since the
// last capture or pawn move, counting those on the search path apart from those of the game
// before it. At ply 2 only a threefold repetition is a draw; deeper, one earlier occurrence is.
bool Busqueda::esRepeticion(int32_t ply) const {
    const Tablero& t = *tablero;
    const int32_t n = t.numHistorial;
    const int32_t raiz = n - (ply - 1);
    const int32_t primero = n - t.movidasRegla50;
    const uint64_t clave = t.hashKey;
    int32_t enCamino = 1;
    int32_t enPartida = 0;
    for (int32_t i = n - 2; i >= 0 && i >= primero; i -= 2) {
        if (t.historial[i].hashKey != clave) continue;
        if (i > raiz)
            ++enCamino;
        else
            ++enPartida;
    }
    if (ply == 2) return enCamino + enPartida >= 3;
    return enCamino >= 2 || enCamino + enPartida >= 2;
}
