#include <sstream>

#include "busqueda/nodo.h"
#include "consola/plataforma.h"
#include "consola/salida.h"

namespace {

constexpr int32_t PlyRaiz = 1;
constexpr int32_t PliesLineaMovimientoActual = 5;

void imprimirMovimientoActual(int32_t numero, Movimiento m) {
    std::ostringstream s;
    s << "info currmovenumber " << numero << " currmove " << movimientoATexto(m) << " nodes "
      << estadisticas.nodos << '\n';
    escribir(s.str());
}

} // namespace

// One iteration: every root move is searched with the window from the best score so far up to
// mate, and each new best move prints an info line. The best move stays in mejorMovimiento even
// when the iteration is stopped half-way.
int32_t Busqueda::buscarRaiz(int32_t profundidad) {
    // 1. The full window, an empty line, and a best score below every score, so that the first
    // root move searched becomes this iteration's best move.
    Tablero& t = *tablero;
    int32_t alfa = -PuntuacionMate;
    int32_t mejorPuntuacion = -PuntuacionMate;
    movimientoHash[PlyRaiz] = MovimientoNulo;
    longitudVariante[PlyRaiz] = PlyRaiz;
    int32_t buscados = 0;

    // 2. The table gives the first move, normally the last iteration's best, and the threat
    // mark; it never ends the root.
    const uint64_t clave = t.hashKey;
    sondearTabla(clave, profundidad, PlyRaiz);
    const bool amenaza = tablaHash->amenazaAcierto();

    // 3. A root in check is searched one ply deeper.
    const bool enJaqueRaiz = enJaque(t);
    marcaJaque[PlyRaiz] = enJaqueRaiz;
    if (enJaqueRaiz) {
        ++estadisticas.extensionesJaque;
        profundidad += UnPly;
    }

    // 4. Moves come staged from the root's list; evasions when in check.
    ListaMovimientos& lista = listas[PlyRaiz];
    iniciarLista(lista, tablero, this, PlyRaiz, enJaqueRaiz ? ModoEvasiones : ModoBusqueda);

    // 5. Search every legal move one ply shallower.
    const Bitboard riesgo = riesgoDeNodo(t, enJaqueRaiz);
    while (const Movimiento m = siguienteDeNodo(lista, enJaqueRaiz)) {
        if (!hacerDeNodo(t, m, enJaqueRaiz, riesgo)) continue;
        ++buscados;
        // 5.1 In deep iterations the interface is told which move is being searched.
        if (profundidad / UnPly >= PliesLineaMovimientoActual)
            imprimirMovimientoActual(buscados, m);
        // 5.2 Only a check extends a root move: no threat, no single reply, no fading.
        const int32_t nuevaProfundidad = profundidad - UnPly + extensionJaque(PlyRaiz);
        const int32_t s = buscarHijo(nuevaProfundidad, alfa, PuntuacionMate, PlyRaiz + 1, true);
        t.deshacerMovimiento();
        // 5.3 A stop drops the unfinished move: nothing more is stored or printed.
        if (detener) return 0;

        // 5.4 The first move searched, then any that scores strictly higher, is the best move.
        if (s > mejorPuntuacion) {
            mejorMovimiento = m;
            mejorPuntuacion = s;
        }
        // 5.5 Nothing beats mate.
        if (s >= PuntuacionMate) {
            tablaHash->guardar(clave, PlyRaiz, alfa, CotaInferior, m, profundidad, amenaza);
            return PuntuacionMate;
        }
        // 5.6 A move that raises alpha extends the line, guides the ordering and is reported.
        if (s > alfa) {
            actualizarVariante(PlyRaiz, m);
            actualizarKillersHistoria(PlyRaiz, m, profundidad);
            alfa = s;
            imprimirInfo(s);
        }
    }

    // 6. No legal move is mate or stalemate; past the fifty-move limit the root is a draw;
    // otherwise the table keeps the score, for the next iteration to start from.
    if (buscados == 0) return sinMovimientos(PlyRaiz);
    if (t.movidasRegla50 > LimiteRegla50) return PuntuacionTablas;
    tablaHash->guardar(clave, PlyRaiz, alfa, alfa == -PuntuacionMate ? CotaSuperior : CotaExacta,
                       mejorMovimiento, profundidad, amenaza);
    return mejorPuntuacion;
}

void Busqueda::imprimirInfo(int32_t puntuacion) const {
    const uint32_t paraNps = ticksMilisegundos() - inicio;
    const uint32_t transcurrido = ticksMilisegundos() - inicio;
    const uint64_t nodos = estadisticas.nodos;
    std::ostringstream s;
    s << "info depth " << iteracion << " time " << transcurrido << " nodes " << nodos << " nps "
      << nodos * 1000 / (static_cast<uint64_t>(paraNps) + 1) << " hashfull "
      << tablaHash->hashfull();
    if (puntuacion > UmbralMate)
        s << " score mate " << (PuntuacionMate + 1 - puntuacion) / 2;
    else if (puntuacion < -UmbralMate)
        s << " score mate " << -((PuntuacionMate + puntuacion) / 2);
    else
        s << " score cp " << puntuacion;
    s << " pv ";
    for (int32_t c = PlyRaiz; c < longitudVariante[PlyRaiz]; ++c)
        s << movimientoATexto(variante[PlyRaiz][c]) << ' ';
    s << '\n';
    escribir(s.str());
}
