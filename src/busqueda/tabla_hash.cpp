#include "busqueda/tabla_hash.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "consola/salida.h"
TablaHash::TablaHash(Motor* motor)
    : motor(motor), entradas(nullptr), numEntradas(0), multiplicadorIndice(0), ocupacion{},
      generacion(1), ultimoAcierto(nullptr) {
    redimensionar(2);
}

TablaHash::~TablaHash() {
    delete[] entradas;
}

void TablaHash::redimensionar(uint32_t mb) {
    delete[] entradas;
    entradas = nullptr;
    ultimoAcierto = nullptr;
    numEntradas = mb * EntradasPorMegabyte;
    if (numEntradas != 0) entradas = new (std::nothrow) EntradaHash[numEntradas];
    if (entradas == nullptr) {
        escribirLinea("Problema creando la tabla hash");
        std::exit(0);
    }
    multiplicadorIndice = UINT64_MAX / numEntradas + 1;
    vaciar();
}

void TablaHash::vaciar() {
    std::memset(static_cast<void*>(entradas), 0, sizeof(EntradaHash) * numEntradas);
    for (uint64_t& c : ocupacion) c = 0;
    generacion = 1;
    ultimoAcierto = nullptr;
}

void TablaHash::guardar(uint64_t clave, int32_t ply, int32_t puntuacion, int32_t cota, Movimiento m,
                        int32_t profundidad, bool amenaza) {
    ++estadisticas.guardados;
    // Mate scores are kept as distances from this position, not from the root.
    if (puntuacion > UmbralMate)
        puntuacion += ply;
    else if (puntuacion < -UmbralMate)
        puntuacion -= ply;

    EntradaHash& e = entradas[indice(clave)];
    const int32_t generacionVieja = generacionDe(e.datos);
    if (generacionVieja == generacion) {
        if (profundidadDe(e.datos) > profundidad) return;
    } else {
        if (generacionVieja != 0) --ocupacion[generacionVieja - 1];
        ++ocupacion[generacion - 1];
    }

    e.claveBaja = static_cast<uint32_t>(clave);
    e.claveAlta = static_cast<uint32_t>(clave >> 32);
    e.movimiento = m;
    e.datos = (static_cast<uint32_t>(puntuacion) << 16) |
              ((static_cast<uint32_t>(cota) & 3) << 14) |
              ((static_cast<uint32_t>(profundidad) & 127) << 7) |
              (static_cast<uint32_t>(amenaza) << 6) | (static_cast<uint32_t>(generacion) << 3);
}

int32_t TablaHash::hashfull() const {
    const double porCiento =
        static_cast<double>(ocupacion[generacion - 1] * 100) / static_cast<double>(numEntradas);
    return static_cast<int32_t>(porCiento * 10.0);
}
