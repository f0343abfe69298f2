#include "tablero/impresion.h"

#include <memory>
#include <sstream>
#include <string>

#include "consola/salida.h"
#include "consola/texto.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "generacion/tablas.h"

namespace {

// Rank 8 first, file a first on each line.
void imprimirBitboard(std::ostream& s, Bitboard bb) {
    for (int fila = 7; fila >= 0; --fila) {
        for (int columna = 0; columna < 8; ++columna)
            s << ((bb & MascaraCasilla[casillaDe(columna, fila)]) != 0 ? 'x' : '.');
        s << '\n';
    }
    s << '\n' << '\n';
}

void imprimirHistorial(std::ostream& s, const Tablero& t) {
    for (int32_t i = 0; i < t.numHistorial; ++i)
        s << movimientoATexto(t.historial[i].movimiento) << ' ';
}

} // namespace

void imprimirTablero(const Tablero& t) {
    std::ostringstream s;
    for (int fila = 7; fila >= 0; --fila) {
        for (int columna = 0; columna < 8; ++columna)
            s << letraPieza(t.piezas[casillaDe(columna, fila)]) << ' ';
        s << '\n';
    }
    s << '\n';
    s << "Lado Que Mueve: " << (t.ladoQueMueve ? "Blancas" : "Negras") << '\n';
    s << "Casilla Al Paso: "
      << (t.casillaAlPaso == CasillaNula ? std::string("Invalida") : nombreCasilla(t.casillaAlPaso))
      << '\n';
    s << "Derechos De Enroque: ";
    if (t.derechosEnroque & EnroqueCortoBlanco) s << 'K';
    if (t.derechosEnroque & EnroqueCortoNegro) s << 'k';
    if (t.derechosEnroque & EnroqueLargoBlanco) s << 'Q';
    if (t.derechosEnroque & EnroqueLargoNegro) s << 'q';
    s << '\n';
    s << "Movidas Regla 50: " << t.movidasRegla50 << '\n';
    s << "Material Blancas: " << t.material[Blanco] << '\n';
    s << "Material Negras: " << t.material[Negro] << '\n';
    s << "Total Valor Piezas Blancas: " << t.valorPiezas[Blanco] << '\n';
    s << "Total Valor Piezas Negras: " << t.valorPiezas[Negro] << '\n';
    s << "Total Peones Blancos: " << t.totalPeones[Blanco] << '\n';
    s << "Total Peones Negros: " << t.totalPeones[Negro] << '\n';
    s << "Hashkey: " << std::hex << t.hashKey << std::dec << '\n';
    s << "En Jaque: " << boolATexto(enJaque(t)) << '\n';
    s << "Historial: ";
    imprimirHistorial(s, t);
    s << '\n';
    escribir(s.str());
}

void imprimirBitboards(const Tablero& t) {
    struct Entrada {
        const char* nombre;
        Bitboard valor;
    };
    const Entrada entradas[] = {
        {"Ocupadas", t.ocupadas()},
        {"Rotado90", t.Rotado90},
        {"Rotado45", t.Rotado45},
        {"Rotado315", t.Rotado315},
        {"piezasBlancas", t.piezasBlancas},
        {"piezasNegras", t.piezasNegras},
        {"PeonesB", t.bitboardsPieza[PeonBlanco]},
        {"PeonesN", t.bitboardsPieza[PeonNegro]},
        {"CaballosB", t.bitboardsPieza[CaballoBlanco]},
        {"CaballosN", t.bitboardsPieza[CaballoNegro]},
        {"AlfilesB", t.bitboardsPieza[AlfilBlanco]},
        {"AlfilesN", t.bitboardsPieza[AlfilNegro]},
        {"TorresB", t.bitboardsPieza[TorreBlanca]},
        {"TorresN", t.bitboardsPieza[TorreNegra]},
        {"DamasB", t.bitboardsPieza[DamaBlanca]},
        {"DamasN", t.bitboardsPieza[DamaNegra]},
        {"ReyesB", MascaraCasilla[t.casillaRey[Blanco] & 63]},
        {"ReyesN", MascaraCasilla[t.casillaRey[Negro] & 63]},
    };
    std::ostringstream s;
    for (const Entrada& e : entradas) {
        s << e.nombre << '\n';
        imprimirBitboard(s, e.valor);
    }
    s << '\n';
    escribir(s.str());
}

// Works on a copy, so the board shown is left as it was.
void imprimirListaMovimientos(const Tablero& t) {
    auto copia = std::make_unique<Tablero>(t);
    auto lista = std::make_unique<ListaMovimientos>();
    generarTodos(*lista, *copia);
    std::ostringstream s;
    int32_t total = 0;
    for (int32_t i = 0; i < lista->cantidad; ++i) {
        const Movimiento m = lista->movimientos[i];
        if (!hacerSiLegal(*copia, m)) continue;
        s << movimientoATexto(m) << ' ';
        ++total;
        copia->deshacerMovimiento();
    }
    s << '\n' << "Total Movimientos: " << total << '\n' << '\n';
    escribir(s.str());
}
