#include <sstream>

#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/ordenacion.h"
#include "busqueda/puntuaciones.h"
#include "busqueda/tabla_hash.h"
#include "consola/plataforma.h"
#include "consola/salida.h"
#include "generacion/ataques.h"
#include "tablero/tablero.h"

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

int32_t Busqueda::buscarRaiz(int32_t profundidad) {
    Tablero& t = *tablero;
    int32_t alfa = -PuntuacionMate;
    int32_t mejorPuntuacion = -PuntuacionMate;
    movimientoHash[PlyRaiz] = MovimientoNulo;
    longitudVariante[PlyRaiz] = PlyRaiz;
    int32_t buscados = 0;
    bool amenaza = false;

    const uint64_t clave = t.hashKey;
    if (tablaHash->sondear(clave, profundidad) != 0) {
        movimientoHash[PlyRaiz] = tablaHash->movimientoAcierto();
        amenaza = tablaHash->amenazaAcierto();
    }

    const bool enJaqueRaiz = enJaque(t);
    marcaJaque[PlyRaiz] = enJaqueRaiz;
    if (enJaqueRaiz) {
        ++estadisticas.extensionesJaque;
        profundidad += UnPly;
    }

    ListaMovimientos& lista = listas[PlyRaiz];
    iniciarLista(lista, tablero, this, PlyRaiz, enJaqueRaiz ? ModoEvasiones : ModoBusqueda);
    for (;;) {
        const Movimiento m = enJaqueRaiz ? siguienteEvasion(lista) : siguienteMovimiento(lista);
        if (m == MovimientoNulo) break;
        t.hacerMovimiento(m);
        if (!enJaqueRaiz && dejaReyEnJaque(t)) {
            t.deshacerMovimiento();
            continue;
        }
        ++buscados;
        if (profundidad / UnPly >= PliesLineaMovimientoActual)
            imprimirMovimientoActual(buscados, m);

        int32_t e = 0;
        marcaJaque[PlyRaiz + 1] = enJaque(t);
        if (marcaJaque[PlyRaiz + 1]) {
            ++estadisticas.extensionesJaque;
            e = UnPly;
        }
        const int32_t nuevaProfundidad = profundidad - UnPly + e;
        const int32_t s = nuevaProfundidad >= UnPly
                              ? -buscar(nuevaProfundidad, -PuntuacionMate, -alfa, PlyRaiz + 1, true)
                              : -qsearch(-PuntuacionMate, -alfa, PlyRaiz + 1);
        t.deshacerMovimiento();
        if (detener) return 0;

        if (s > mejorPuntuacion) {
            mejorMovimiento = m;
            mejorPuntuacion = s;
        }
        if (s >= PuntuacionMate) {
            tablaHash->guardar(clave, PlyRaiz, alfa, CotaInferior, m, profundidad, amenaza);
            return PuntuacionMate;
        }
        if (s > alfa) {
            actualizarVariante(PlyRaiz, m);
            actualizarKillersHistoria(PlyRaiz, m, profundidad);
            alfa = s;
            imprimirInfo(s);
        }
    }

    if (buscados == 0) return enJaqueRaiz ? -(PuntuacionMate - 1) : PuntuacionTablas;
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
