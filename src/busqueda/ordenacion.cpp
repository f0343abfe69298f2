#include "busqueda/ordenacion.h"

#include <utility>

#include "busqueda/busqueda.h"
#include "busqueda/estadisticas.h"
#include "generacion/see.h"
#include "tablero/tablero.h"

namespace {

int32_t valorIntercambio(const ListaMovimientos& lista, Movimiento m) {
    return SEE(*lista.tablero, hastaDe(m), desdeDe(m), colorMovimiento(m));
}

// Overwrites slot i with the last move of the list; the caller examines slot i again.
void quitarDuplicado(ListaMovimientos& lista, int32_t i) {
    --lista.cantidad;
    lista.movimientos[i] = lista.movimientos[lista.cantidad];
    lista.puntuaciones[i] = lista.puntuaciones[lista.cantidad];
}

// A killer is offered when it is still playable here and was not already offered as the
// hash move.
bool killerUsable(const ListaMovimientos& lista, Movimiento killer) {
    if (killer == MovimientoNulo || killer == lista.busqueda->movimientoHash[lista.ply])
        return false;
    return movimientoValido(*lista.tablero, killer);
}

// A generation stage: the generator's moves join the list, and the summary counts the run.
inline void generarEtapa(ListaMovimientos& lista,
                         void (*generar)(ListaMovimientos&, const Tablero&),
                         uint64_t& generaciones) {
    generar(lista, *lista.tablero);
    ++generaciones;
}

void puntuarCapturas(ListaMovimientos& lista) {
    const Movimiento hash =
        lista.modo == ModoBusqueda ? lista.busqueda->movimientoHash[lista.ply] : MovimientoNulo;
    for (int32_t i = 0; i < lista.cantidad;) {
        const Movimiento m = lista.movimientos[i];
        if (hash != MovimientoNulo && m == hash) {
            quitarDuplicado(lista, i);
            continue;
        }
        lista.puntuaciones[i] = valorIntercambio(lista, m);
        ++i;
    }
    ordenar(lista, 0, lista.cantidad - 1);
}

// The squares that the non-null moves among three start from.
Bitboard origenes(Movimiento a, Movimiento b, Movimiento c) {
    const auto origen = [](Movimiento m) {
        return static_cast<Bitboard>(m != MovimientoNulo) << desdeDe(m);
    };
    return origen(a) | origen(b) | origen(c);
}

void puntuarResto(ListaMovimientos& lista) {
    const Busqueda& b = *lista.busqueda;
    const Movimiento hash = b.movimientoHash[lista.ply];
    const bool evasiones = lista.modo == ModoEvasiones;
    const Movimiento k1 = evasiones ? MovimientoNulo : b.killer1[lista.ply];
    const Movimiento k2 = evasiones ? MovimientoNulo : b.killer2[lista.ply];
    // Only a move from one of their squares can repeat the hash move or a killer.
    const Bitboard repetibles = origenes(hash, k1, k2);
    for (int32_t i = 0; i < lista.cantidad;) {
        const Movimiento m = lista.movimientos[i];
        if (((repetibles >> desdeDe(m)) & 1) && (m == hash || m == k1 || m == k2)) {
            quitarDuplicado(lista, i);
            continue;
        }
        if (evasiones && piezaCapturada(m) != Vacio)
            lista.puntuaciones[i] = valorIntercambio(lista, m);
        else
            lista.puntuaciones[i] = b.historia[piezaMovida(m)][hastaDe(m)];
        ++i;
    }
    ordenar(lista, 0, lista.cantidad - 1);
}

} // namespace

void prepararCapturas(ListaMovimientos& lista, Tablero* tablero) {
    lista.tablero = tablero;
    lista.modo = ModoCapturas;
    lista.cantidad = 0;
    lista.siguiente = 0;
    lista.etapa = EtapaAgotada;
    generarEtapa(lista, generarCapturas, estadisticas.generacionesCapturas);
    puntuarCapturas(lista);
}

void iniciarLista(ListaMovimientos& lista, Tablero* tablero, Busqueda* busqueda, int32_t ply,
                  int32_t modo) {
    lista.tablero = tablero;
    lista.busqueda = busqueda;
    lista.ply = ply;
    lista.modo = modo;
    lista.cantidad = 0;
    lista.siguiente = 0;
    switch (modo) {
    case ModoTodos:
        generarTodos(lista, *tablero);
        lista.etapa = EtapaEntregar;
        break;
    case ModoEvasiones:
        generarEvasiones(lista, *tablero);
        ++estadisticas.generacionesEvasiones;
        lista.etapa = EtapaHash;
        break;
    default:
        lista.etapa = EtapaHash;
        break;
    }
}

// The stage machine: from the current stage on, until a move is handed out. A stage is left
// before its work is done, so each runs once, except the two that hand out from the list until it
// runs dry; a generation stage goes straight on to scoring what it generated. Evasions jump from
// the hash move to scoring the whole list.
Movimiento avanzarEtapas(ListaMovimientos& lista) {
    for (;;) {
        switch (lista.etapa) {
        case EtapaHash: {
            lista.etapa = lista.modo == ModoEvasiones ? EtapaPuntuarResto : EtapaGenerarCapturas;
            // The table compares whole keys, so its move was found with this placement, side
            // and rights; at most the en-passant square differs, and the pawn that capture
            // takes is then still there.
            const Movimiento hash = lista.busqueda->movimientoHash[lista.ply];
            if (hash != MovimientoNulo) return hash;
            break;
        }
        case EtapaGenerarCapturas:
            generarEtapa(lista, generarCapturas, estadisticas.generacionesCapturas);
            [[fallthrough]];
        case EtapaPuntuarCapturas:
            lista.etapa = EtapaCapturasBuenas;
            puntuarCapturas(lista);
            break;
        case EtapaCapturasBuenas:
            if (lista.cantidad > 0 && lista.puntuaciones[0] >= 0) {
                const Movimiento m = lista.movimientos[0];
                lista.puntuacionActual = lista.puntuaciones[0];
                quitarPrimero(lista);
                return m;
            }
            lista.etapa = EtapaKiller1;
            break;
        case EtapaKiller1:
        case EtapaKiller2: {
            const Busqueda& b = *lista.busqueda;
            const Movimiento killer =
                lista.etapa == EtapaKiller1 ? b.killer1[lista.ply] : b.killer2[lista.ply];
            // Killer 2 follows killer 1, and the quiet moves follow both.
            ++lista.etapa;
            if (killerUsable(lista, killer)) return killer;
            break;
        }
        case EtapaGenerarTranquilos:
            generarEtapa(lista, generarTranquilos, estadisticas.generacionesTranquilos);
            [[fallthrough]];
        case EtapaPuntuarResto:
            lista.etapa = EtapaEntregar;
            puntuarResto(lista);
            break;
        case EtapaEntregar:
            if (entregaPendiente(lista)) return entregar(lista);
            lista.etapa = EtapaAgotada;
            return MovimientoNulo;
        default:
            return MovimientoNulo;
        }
    }
}

namespace {

// Where the partition puts three entries a, b, c, the middle one the pivot, indexed by
// (a > b) + 2 (c < b) + 4 (c >= a): the entry that each place takes. The first and the last
// combinations cannot occur.
constexpr uint8_t OrdenDeTres[8][3] = {
    {0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {0, 1, 2}, {2, 1, 0}, {2, 0, 1}, {1, 2, 0}, {0, 1, 2},
};

// Ranges of up to this many entries end the partitioning.
constexpr int32_t RangoCorto = 3;

// A range of at most three entries, sorted as the partition would leave it; nothing to do for
// fewer than two.
inline void ordenarCorto(int32_t* p, Movimiento* m, int32_t lo, int32_t hi) {
    // Two entries, the first of them the pivot: the partition swaps them unless the second
    // scores lower, and nothing is left to sort. Done without a branch, as the scores seldom
    // say in advance which way it goes.
    if (hi == lo + 1) {
        const uint32_t cambio = 0u - static_cast<uint32_t>(p[hi] >= p[lo]);
        const uint32_t puntuaciones = static_cast<uint32_t>(p[lo] ^ p[hi]) & cambio;
        const Movimiento movimientos = (m[lo] ^ m[hi]) & cambio;
        p[lo] ^= static_cast<int32_t>(puntuaciones);
        p[hi] ^= static_cast<int32_t>(puntuaciones);
        m[lo] ^= movimientos;
        m[hi] ^= movimientos;
        return;
    }
    // Three entries: the partition's outcome follows from three comparisons, looked up.
    if (hi == lo + 2) {
        const int32_t pt[3] = {p[lo], p[lo + 1], p[lo + 2]};
        const Movimiento mt[3] = {m[lo], m[lo + 1], m[lo + 2]};
        const uint8_t* orden =
            OrdenDeTres[(pt[0] > pt[1]) + 2 * (pt[2] < pt[1]) + 4 * (pt[2] >= pt[0])];
        for (int k = 0; k < 3; ++k) {
            p[lo + k] = pt[orden[k]];
            m[lo + k] = mt[orden[k]];
        }
    }
}

// Quicksort around the middle entry, best score first, for more than three entries: the short
// ranges are sorted in place rather than through a call, which is where most of them end.
void ordenarLargo(int32_t* p, Movimiento* m, int32_t lo, int32_t hi) {
    do {
        const int32_t pivote = p[(lo + hi) / 2];
        int32_t i = lo;
        int32_t j = hi;
        do {
            while (p[j] < pivote) --j;
            while (p[i] > pivote) ++i;
            if (i <= j) {
                std::swap(p[i], p[j]);
                std::swap(m[i], m[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < RangoCorto)
            ordenarCorto(p, m, lo, j);
        else
            ordenarLargo(p, m, lo, j);
        lo = i;
    } while (hi - lo >= RangoCorto);
    ordenarCorto(p, m, lo, hi);
}

} // namespace

void ordenar(ListaMovimientos& lista, int32_t lo, int32_t hi) {
    if (hi - lo < RangoCorto)
        ordenarCorto(lista.puntuaciones, lista.movimientos, lo, hi);
    else
        ordenarLargo(lista.puntuaciones, lista.movimientos, lo, hi);
}
