#pragma once

#include <cstdint>

#include "generacion/lista_movimientos.h"

// Stages of the hand-out.
constexpr int32_t EtapaHash = 0;
constexpr int32_t EtapaGenerarCapturas = 1;
constexpr int32_t EtapaPuntuarCapturas = 2;
constexpr int32_t EtapaCapturasBuenas = 3;
constexpr int32_t EtapaKiller1 = 4;
constexpr int32_t EtapaKiller2 = 5;
constexpr int32_t EtapaGenerarTranquilos = 6;
constexpr int32_t EtapaPuntuarResto = 7;
constexpr int32_t EtapaEntregar = 8;
constexpr int32_t EtapaAgotada = 9;

// The staged move source of one ply of the main search: init in mode ModoTodos, ModoBusqueda or
// ModoEvasiones, then pull moves until 0.
void iniciarLista(ListaMovimientos& lista, Tablero* tablero, Busqueda* busqueda, int32_t ply,
                  int32_t modo);
// The quiescence search's list, without stages: every capture and promotion, scored by static
// exchange and sorted best first, to be read in order from the start.
void prepararCapturas(ListaMovimientos& lista, Tablero* tablero);
Movimiento avanzarEtapas(ListaMovimientos& lista);
void ordenar(ListaMovimientos& lista, int32_t lo, int32_t hi);

// The hand-out of the list in order, with its score, while entries are left.
inline bool entregaPendiente(const ListaMovimientos& lista) {
    return lista.siguiente < lista.cantidad;
}
inline Movimiento entregar(ListaMovimientos& lista) {
    lista.puntuacionActual = lista.puntuaciones[lista.siguiente];
    return lista.movimientos[lista.siguiente++];
}

// Most calls find the list sorted and handing out: that is done here, and the stage machine runs
// only when a stage begins or ends.
inline bool entregaDirecta(const ListaMovimientos& lista) {
    return lista.etapa == EtapaEntregar && entregaPendiente(lista);
}

// The hash move and the killers carry no ordering score.
inline Movimiento siguienteMovimiento(ListaMovimientos& lista) {
    if (entregaDirecta(lista)) return entregar(lista);
    lista.puntuacionActual = 0;
    return avanzarEtapas(lista);
}

// The evasions' own order (the hash move, then every evasion by score) comes from the list's
// mode; handing them out is the same.
inline Movimiento siguienteEvasion(ListaMovimientos& lista) {
    return siguienteMovimiento(lista);
}
