#include "busqueda/busqueda.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "busqueda/estadisticas.h"
#include "busqueda/tabla_hash.h"
#include "consola/consola.h"
#include "consola/motor.h"
#include "consola/plataforma.h"
#include "consola/salida.h"
#include "generacion/ataques.h"
#include "tablero/tablero.h"
#include "uci/control_tiempo.h"

namespace {

constexpr uint64_t IntervaloComprobacion = 25000;
constexpr int32_t IteracionesSinLimite = 100;

} // namespace

Busqueda::Busqueda(Motor* motor, Tablero* tablero, TablaHash* tablaHash)
    : motor(motor), tablero(tablero), tablaHash(tablaHash), detener(false), inicio(0),
      proximaComprobacion(IntervaloComprobacion), tiempoAsignado(0),
      mejorMovimiento(MovimientoNulo), iteracion(0), resumenActivo(true), hojasPrevisibles(false) {
    limpiarTablasBusqueda();
    std::memset(marcaJaque, 0, sizeof(marcaJaque));
    std::memset(movimientoHash, 0, sizeof(movimientoHash));
    std::memset(listas, 0, sizeof(listas));
}

void Busqueda::limpiarTablasBusqueda() {
    std::memset(variante, 0, sizeof(variante));
    std::memset(longitudVariante, 0, sizeof(longitudVariante));
    std::memset(killer1, 0, sizeof(killer1));
    std::memset(killer2, 0, sizeof(killer2));
    std::memset(historia, 0, sizeof(historia));
}

Movimiento Busqueda::pensar() {
    inicio = ticksMilisegundos();
    tiempoAsignado = motor->controlTiempo->tiempoAsignado(tablero->colorQueMueve());
    detener = false;
    reiniciarEstadisticas();
    proximaComprobacion = IntervaloComprobacion;
    limpiarTablasBusqueda();
    tablaHash->nuevaBusqueda();
    mejorMovimiento = MovimientoNulo;
    hojasPrevisibles = posicionOrdinaria(*tablero);

    // Iterations past the ply limit could not search deeper; capping them also keeps a root
    // without moves, whose iterations visit no node and so never poll the console, from
    // spinning through a huge depth.
    const int32_t limiteProfundidad = std::min(motor->controlTiempo->depth, MaxPly - 1);
    const int32_t limite = limiteProfundidad != 0 ? limiteProfundidad + 1 : IteracionesSinLimite;
    for (iteracion = 1; iteracion < limite; ++iteracion) {
        buscarRaiz(8 * iteracion);
        if (detener) break;
    }

    if (resumenActivo) imprimirResumen();
    return mejorMovimiento;
}

// Stops the search when its time is up, and runs a line that has come in meanwhile.
void Busqueda::atenderComprobacion() {
    proximaComprobacion += IntervaloComprobacion;
    const ControlTiempo& control = *motor->controlTiempo;
    if (!control.infinite && control.depth == 0 &&
        static_cast<uint32_t>(ticksMilisegundos() - inicio) >= tiempoAsignado)
        detener = true;
    Consola* consola = motor->consola;
    if (consola != nullptr && consola->hayLineaPendiente()) consola->procesarLinea();
}

void Busqueda::actualizarVariante(int32_t ply, Movimiento m) {
    variante[ply][ply] = m;
    const int32_t fin = longitudVariante[ply + 1];
    for (int32_t c = ply + 1; c < fin; ++c) variante[ply][c] = variante[ply + 1][c];
    longitudVariante[ply] = fin;
}

void Busqueda::imprimirResumen() const {
    const Estadisticas& e = estadisticas;
    const double ordenado =
        static_cast<double>(e.cortesPrimerMovimiento) * 100 / static_cast<double>(e.cortesBeta + 1);
    std::ostringstream s;
    s << "NODOS: Totales: " << e.nodos << " Qsearch: " << e.nodosQsearch << '\n'
      << "MOVIMIENTOS GENERADOS: Capturas: " << e.generacionesCapturas
      << " NoCapturas: " << e.generacionesTranquilos << " Evasiones: " << e.generacionesEvasiones
      << '\n'
      << "EXTENSIONES: Jaque: " << e.extensionesJaque << " Amenaza Mate: " << e.extensionesAmenaza
      << " Respuesta Unica Jaque: " << e.extensionesRespuestaUnica << '\n'
      << "ORDENADO MOVIMIENTOS: " << ordenado << "%" << '\n'
      << "HASH: Probes: " << e.sondeos << " Hits: " << e.aciertos << " Stores: " << e.guardados
      << '\n'
      << "HASH CUTS: Alpha: " << e.cortesHashAlfa << " Beta: " << e.cortesHashBeta
      << " Exacto: " << e.cortesHashExacto << '\n'
      << "PODADOS: SEE: " << e.podadosSEE << '\n'
      << "NULLMOVE: Intentos: " << e.intentosNulo << " CutsMAX: " << e.cortesNuloMax
      << " CutsMIN: " << e.cortesNuloMin << '\n';
    escribir(s.str());
}
