#include <string>

#include "busqueda/busqueda.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"
#include "evaluacion/evaluacion.h"
#include "generacion/lista_movimientos.h"
#include "generacion/perft.h"
#include "generacion/see.h"
#include "tablero/fen.h"
#include "tablero/impresion.h"
#include "tablero/tablero.h"

void ConsolaUCI::comandoTablero(const std::string&) {
    imprimirTablero(*motor->tablero);
}

void ConsolaUCI::comandoBitboards(const std::string&) {
    imprimirBitboards(*motor->tablero);
}

void ConsolaUCI::comandoListamovs(const std::string&) {
    imprimirListaMovimientos(*motor->tablero);
}

void ConsolaUCI::comandoEval(const std::string&) {
    escribirLinea("Eval: " + std::to_string(evaluar(*motor->tablero)));
}

// The whole argument text is the move: a trailing blank makes it name no move.
void ConsolaUCI::comandoMove(const std::string& argumentos) {
    jugarTexto(argumentos, "Movimiento Ilegal: ");
}

void ConsolaUCI::comandoSee(const std::string& argumentos) {
    const Tablero& t = *motor->tablero;
    const Movimiento m = textoAMovimiento(t, argumentos);
    const int32_t valor = SEE(t, hastaDe(m), desdeDe(m), colorMovimiento(m));
    escribirLinea("SEE[" + nombreCasilla(desdeDe(m)) + "][" + nombreCasilla(hastaDe(m)) +
                  "] = " + std::to_string(valor));
}

// Counting needs one move list per ply and one history record per ply on top of the game.
bool ConsolaUCI::profundidadContable(int32_t profundidad) const {
    return profundidad > 0 && profundidad <= ProfundidadMaximaPerft &&
           motor->tablero->numHistorial + profundidad <= CapacidadHistorial;
}

void ConsolaUCI::comandoPerft(const std::string& argumentos) {
    const int32_t profundidad = textoAEntero(argumentos);
    if (profundidadContable(profundidad))
        ejecutarPerft(*motor->tablero, motor->busqueda->listas, profundidad);
}

void ConsolaUCI::comandoDivide(const std::string& argumentos) {
    const int32_t profundidad = textoAEntero(argumentos);
    if (profundidadContable(profundidad))
        ejecutarDivide(*motor->tablero, motor->busqueda->listas, profundidad);
}

void ConsolaUCI::comandoPositionTest(const std::string& argumentos) {
    const int32_t n = textoAEntero(argumentos);
    if (n < 1 || n > NumPosicionesTest) return;
    const PosicionTest& prueba = PosicionesTest[n - 1];
    establecerPosicion(*motor->tablero, PosicionFEN(prueba.fen));
    imprimirTablero(*motor->tablero);
    escribirLinea(prueba.resultado);
}
