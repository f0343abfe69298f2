#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "busqueda/ordenacion.h"
#include "busqueda/puntuaciones.h"
#include "busqueda/tabla_hash.h"
#include "generacion/ataques.h"
#include "tablero/tablero.h"

namespace {

constexpr int32_t ReduccionMaxima = 24;
constexpr int32_t ReduccionMinima = 16;
constexpr int32_t UnidadesSinZugzwang = 9;
constexpr int32_t ProfundidadNuloSinMaterial = 56;
constexpr int32_t ProfundidadReduccionMaxima = 48;
constexpr int32_t ExtensionJaque = 8;
constexpr int32_t ExtensionAmenaza = 6;
constexpr int32_t ExtensionRespuestaUnica = 6;

} // namespace

int32_t Busqueda::buscar(int32_t profundidad, int32_t alfa, int32_t beta, int32_t ply,
                         bool nuloPermitido) {
    ++estadisticas.nodos;
    if (comprobarTiempo()) return 0;
    if (ply >= MaxPly) return alfa;

    Tablero& t = *tablero;
    movimientoHash[ply] = MovimientoNulo;
    longitudVariante[ply] = ply;
    const int32_t alfaEntrada = alfa;
    Movimiento mejor = MovimientoNulo;
    int32_t buscados = 0;
    bool amenaza = false;

    if (esRepeticion(ply)) return 0;

    const uint64_t clave = t.hashKey;
    switch (tablaHash->sondear(clave, profundidad)) {
    case CotaSuperior: {
        movimientoHash[ply] = tablaHash->movimientoAcierto();
        amenaza = tablaHash->amenazaAcierto();
        const int32_t s = tablaHash->puntuacion(ply);
        if (s < beta) nuloPermitido = false;
        if (s <= alfa) {
            ++estadisticas.cortesHashAlfa;
            return alfa;
        }
        break;
    }
    case CotaInferior:
        movimientoHash[ply] = tablaHash->movimientoAcierto();
        amenaza = tablaHash->amenazaAcierto();
        if (tablaHash->puntuacion(ply) >= beta) {
            ++estadisticas.cortesHashBeta;
            return beta;
        }
        break;
    case CotaExacta:
        movimientoHash[ply] = tablaHash->movimientoAcierto();
        ++estadisticas.cortesHashExacto;
        return tablaHash->puntuacion(ply);
    case SondeoPocaProfundidad:
        movimientoHash[ply] = tablaHash->movimientoAcierto();
        amenaza = tablaHash->amenazaAcierto();
        break;
    default:
        break;
    }

    marcaJaque[ply + 1] = false;
    const bool enJaqueNodo = marcaJaque[ply];
    const int32_t unidades = t.valorPiezas[t.colorQueMueve()];

    if (nuloPermitido && !amenaza && !enJaqueNodo &&
        (unidades > UnidadesSinZugzwang || profundidad < ProfundidadNuloSinMaterial)) {
        const int32_t r = profundidad > ProfundidadReduccionMaxima && unidades > UnidadesSinZugzwang
                              ? ReduccionMaxima
                              : ReduccionMinima;
        t.hacerMovimientoNulo();
        ++estadisticas.intentosNulo;
        const int32_t s = profundidad - r >= UnPly
                              ? -buscar(profundidad - r, -beta, -beta + 1, ply + 1, false)
                              : -qsearch(-beta, -beta + 1, ply + 1);
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
        if (s < -UmbralMate) amenaza = true;
    }

    ListaMovimientos& lista = listas[ply];
    iniciarLista(lista, tablero, this, ply, enJaqueNodo ? ModoEvasiones : ModoBusqueda);

    for (;;) {
        const Movimiento m = enJaqueNodo ? siguienteEvasion(lista) : siguienteMovimiento(lista);
        if (m == MovimientoNulo) break;
        t.hacerMovimiento(m);
        // Evasions are legal by construction, the hash move among them.
        if (!enJaqueNodo && dejaReyEnJaque(t)) {
            t.deshacerMovimiento();
            continue;
        }
        ++buscados;
        const int32_t nuevaProfundidad = profundidad - UnPly + extension(ply, amenaza);
        const int32_t s = nuevaProfundidad < UnPly
                              ? -qsearch(-beta, -alfa, ply + 1)
                              : -buscar(nuevaProfundidad, -beta, -alfa, ply + 1, nuloPermitido);
        t.deshacerMovimiento();
        if (detener) return 0;

        if (s >= beta) {
            if (buscados == 1) ++estadisticas.cortesPrimerMovimiento;
            ++estadisticas.cortesBeta;
            tablaHash->guardar(clave, ply, beta, CotaInferior, m, profundidad, amenaza);
            return beta;
        }
        if (s > alfa) {
            alfa = s;
            mejor = m;
            actualizarVariante(ply, m);
            actualizarKillersHistoria(ply, m, profundidad);
        }
    }

    if (buscados == 0) return enJaqueNodo ? ply - PuntuacionMate : PuntuacionTablas;
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

int32_t Busqueda::extension(int32_t ply, bool amenaza) {
    int32_t e = 0;
    const bool daJaque = enJaque(*tablero);
    marcaJaque[ply + 1] = daJaque;
    if (daJaque) {
        e = ExtensionJaque;
        ++estadisticas.extensionesJaque;
    }
    if (amenaza) {
        e += ExtensionAmenaza;
        ++estadisticas.extensionesAmenaza;
    }
    if (marcaJaque[ply] && listas[ply].cantidad == 1) {
        e += ExtensionRespuestaUnica;
        ++estadisticas.extensionesRespuestaUnica;
    }
    if (e > UnPly) e = UnPly;

    // Extensions fade out between twice and four times the iteration depth.
    const int32_t n = iteracion;
    if (ply <= 2 * n) return e;
    if (ply <= 4 * n) return ((4 * n - ply) * e) / (2 * n);
    return 0;
}

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
