#pragma once

#include <cstdint>

#include "busqueda/estadisticas.h"
#include "busqueda/puntuaciones.h"
#include "tablero/movimiento.h"

class Motor;

// High 64 bits of a 64-bit by 32-bit product.
inline uint64_t mitadAlta(uint64_t a, uint32_t b) {
#ifdef __SIZEOF_INT128__
    __extension__ typedef unsigned __int128 Entero128;
    return static_cast<uint64_t>((static_cast<Entero128>(a) * b) >> 64);
#else
    // 32-bit targets: two 32 x 32 products; the sum cannot overflow 64 bits.
    const uint64_t alta = (a >> 32) * b;
    const uint64_t baja = (a & 0xFFFFFFFFu) * b;
    return (alta + (baja >> 32)) >> 32;
#endif
}

// One slot: the key in two halves, the best move and the packed word (bits 3-5 generation,
// 6 mate threat, 7-13 depth, 14-15 bound type, 16-31 score).
struct EntradaHash {
    uint32_t claveBaja;
    uint32_t claveAlta;
    Movimiento movimiento;
    uint32_t datos;
};
static_assert(sizeof(EntradaHash) == 16, "a megabyte must hold exactly 65536 entries");

constexpr int NumGeneraciones = 7;
constexpr uint32_t EntradasPorMegabyte = 65536;

// Probe results besides the three bound types.
constexpr int32_t SondeoFallido = 0;
constexpr int32_t SondeoPocaProfundidad = 4;

constexpr int32_t generacionDe(uint32_t datos) {
    return static_cast<int32_t>((datos >> 3) & 7);
}
constexpr bool amenazaDe(uint32_t datos) {
    return ((datos >> 6) & 1) != 0;
}
constexpr int32_t profundidadDe(uint32_t datos) {
    return static_cast<int32_t>((datos >> 7) & 127);
}
constexpr int32_t cotaDe(uint32_t datos) {
    return static_cast<int32_t>((datos >> 14) & 3);
}
constexpr int32_t puntuacionDe(uint32_t datos) {
    return static_cast<int32_t>(static_cast<int16_t>(datos >> 16));
}

class TablaHash {
  public:
    explicit TablaHash(Motor* motor);
    ~TablaHash();
    TablaHash(const TablaHash&) = delete;
    TablaHash& operator=(const TablaHash&) = delete;

    // Reallocates with mb megabytes and clears; a failed allocation ends the process.
    void redimensionar(uint32_t mb);
    void vaciar();
    void nuevaBusqueda() { generacion = generacion % NumGeneraciones + 1; }

    // The low key word modulo the entry count, by multiplication instead of a division.
    uint32_t indice(uint64_t clave) const {
        const uint64_t fraccion = multiplicadorIndice * static_cast<uint32_t>(clave);
        return static_cast<uint32_t>(mitadAlta(fraccion, numEntradas));
    }

    // Starts bringing the slot of a key into the cache, so that a probe soon after need not wait
    // for memory. It changes nothing in the table.
    void anticipar(uint64_t clave) const { __builtin_prefetch(&entradas[indice(clave)]); }

    // 0 when the position is not in the table for this search; the bound type when the
    // stored depth reaches the required one; 4 when it is there but shallower.
    int32_t sondear(uint64_t clave, int32_t profundidad) {
        ++estadisticas.sondeos;
        const EntradaHash& e = entradas[indice(clave)];
        if (e.claveBaja != static_cast<uint32_t>(clave) ||
            e.claveAlta != static_cast<uint32_t>(clave >> 32) ||
            generacionDe(e.datos) != generacion) {
            ultimoAcierto = nullptr;
            return SondeoFallido;
        }
        ++estadisticas.aciertos;
        ultimoAcierto = &e;
        return profundidadDe(e.datos) >= profundidad ? cotaDe(e.datos) : SondeoPocaProfundidad;
    }

    // The last hit's score seen from the root, given the ply of the node that probed.
    int32_t puntuacion(int32_t ply) const {
        const int32_t p = puntuacionDe(ultimoAcierto->datos);
        if (p > UmbralMate) return p - ply;
        if (p < -UmbralMate) return p + ply;
        return p;
    }

    void guardar(uint64_t clave, int32_t ply, int32_t puntuacion, int32_t cota, Movimiento m,
                 int32_t profundidad, bool amenaza);

    // Per-mille share of the table written during the current search.
    int32_t hashfull() const;

    Movimiento movimientoAcierto() const { return ultimoAcierto ? ultimoAcierto->movimiento : 0; }
    bool amenazaAcierto() const { return ultimoAcierto && amenazaDe(ultimoAcierto->datos); }

    Motor* motor;
    EntradaHash* entradas;
    uint32_t numEntradas;
    uint64_t multiplicadorIndice;
    uint64_t ocupacion[NumGeneraciones];
    int32_t generacion;
    const EntradaHash* ultimoAcierto;
};
