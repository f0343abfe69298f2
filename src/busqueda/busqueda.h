#pragma once

#include <cstdint>

#include "busqueda/estadisticas.h"
#include "generacion/lista_movimientos.h"
#include "tablero/movimiento.h"
#include "tablero/tipos.h"

class Motor;
class Tablero;
class TablaHash;

// Per-ply tables hold plies 0..127; one spare row takes the writes that a node at ply 127
// makes for its children, so nothing runs past the arrays.
constexpr int MaxPly = 128;

// The search: per-ply tables, killers and history, the move lists, the stop flag, the best
// move and the summary switch.
class Busqueda {
  public:
    Busqueda(Motor* motor, Tablero* tablero, TablaHash* tablaHash);

    void detenerBusqueda() { detener = true; }
    void setResumen(bool valor) { resumenActivo = valor; }
    bool resumen() const { return resumenActivo; }
    void imprimirResumen() const;

    Movimiento pensar();
    // Every node calls it; only one in many thousands reads the clock and the console.
    bool comprobarTiempo() {
        if (estadisticas.nodos > proximaComprobacion) atenderComprobacion();
        return detener;
    }

    int32_t buscarRaiz(int32_t profundidad);
    int32_t buscar(int32_t profundidad, int32_t alfa, int32_t beta, int32_t ply,
                   bool nuloPermitido);
    int32_t qsearch(int32_t alfa, int32_t beta, int32_t ply);
    // Inline in busqueda/nodo.h, for the main search's move loop.
    int32_t extension(int32_t ply, bool amenaza);
    bool esRepeticion(int32_t ply) const;
    void actualizarVariante(int32_t ply, Movimiento m);

    Motor* motor;
    Tablero* tablero;
    TablaHash* tablaHash;
    bool detener;
    uint32_t inicio;
    uint64_t proximaComprobacion;
    uint32_t tiempoAsignado;
    Movimiento mejorMovimiento;
    int32_t iteracion;
    Movimiento variante[MaxPly + 1][MaxPly + 1];
    int32_t longitudVariante[MaxPly + 1];
    bool marcaJaque[MaxPly + 1];
    Movimiento movimientoHash[MaxPly];
    Movimiento killer1[MaxPly];
    Movimiento killer2[MaxPly];
    int32_t historia[NumCodigosPieza][64];
    ListaMovimientos listas[MaxPly];

  private:
    // Read and switched only through resumen and setResumen.
    bool resumenActivo;
    // Whether the root is a position that legal play leads to, where the children of the last
    // ply can be told apart before they are made (see `hojaPlantada`).
    bool hojasPrevisibles;

    // The quiescence search's capture loop, apart from its stand-pat step.
    [[gnu::noinline]] int32_t qsearchCapturas(int32_t alfa, int32_t beta, int32_t ply,
                                              int32_t estatica);
    // Steps that buscar and buscarRaiz share, inline in busqueda/nodo.h.
    int32_t sondearTabla(uint64_t clave, int32_t profundidad, int32_t ply);
    int32_t extensionJaque(int32_t ply);
    int32_t atenuarExtension(int32_t e, int32_t ply) const;
    bool esFrontera(int32_t profundidad, int32_t ply, bool amenaza) const;
    bool contarHojaPlantada(bool amenaza);
    // The main search's fetch of its children's table slots, also in busqueda/nodo.h.
    void anticiparHijos(const ListaMovimientos& lista, Movimiento m);
    int32_t buscarHijo(int32_t profundidad, int32_t alfa, int32_t beta, int32_t ply,
                       bool nuloPermitido);
    int32_t sinMovimientos(int32_t ply) const;
    void atenderComprobacion();
    void limpiarTablasBusqueda();
    void actualizarKillersHistoria(int32_t ply, Movimiento m, int32_t profundidad);
    void imprimirInfo(int32_t puntuacion) const;
};
