#include "busqueda/busqueda.h"
#include "busqueda/tabla_hash.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"
#include "consola/version.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "uci/opciones.h"

void ConsolaUCI::comandoQuit(const std::string&) {
    salir = true;
    motor->busqueda->detenerBusqueda();
}

void ConsolaUCI::comandoUcinewgame(const std::string&) {
    posicionInicial(*motor->tablero);
    motor->tablaHash->vaciar();
}

void ConsolaUCI::comandoUci(const std::string&) {
    escribirLinea("id name " + nombreMotor());
    escribirLinea(std::string("id author ") + AutorMotor);
    for (const OpcionUCI* opcion : opciones) opcion->imprimir();
    escribirLinea("uciok");
}

void ConsolaUCI::comandoIsready(const std::string&) {
    escribirLinea("readyok");
}

void ConsolaUCI::comandoStop(const std::string&) {
    motor->busqueda->detenerBusqueda();
}

void ConsolaUCI::comandoPosition(const std::string& argumentos) {
    const std::vector<std::string> palabras = dividirPalabras(argumentos, " ");
    if (palabras.empty()) return;
    Tablero& t = *motor->tablero;
    std::size_t primerMovimiento = palabras.size();
    if (palabras[0] == "startpos") {
        posicionInicial(t);
        // The second word stands where "moves" belongs and is not examined.
        if (palabras.size() > 2) primerMovimiento = 2;
    } else if (palabras[0] == "fen") {
        std::string fen;
        std::size_t i = 1;
        for (; i < palabras.size() && palabras[i] != "moves"; ++i) fen += palabras[i] + ' ';
        if (!establecerPosicion(t, PosicionFEN(fen))) escribirLinea("Cadena FEN corrupta");
        if (i + 1 < palabras.size()) primerMovimiento = i + 1;
    } else {
        return;
    }
    // A word that names no legal move is reported and passed over.
    for (std::size_t i = primerMovimiento; i < palabras.size(); ++i)
        jugarTexto(palabras[i], "Movimiento erroneo: ");
}

void ConsolaUCI::jugarTexto(const std::string& texto, const std::string& mensajeIlegal) {
    Tablero& t = *motor->tablero;
    const Movimiento m = textoAMovimiento(t, texto);
    if (m == MovimientoNulo)
        escribirLinea(mensajeIlegal + texto);
    else if (!cabeOtroMovimiento())
        escribirLinea("Historial lleno: " + texto);
    else if (!hacerSiLegal(t, m))
        escribirLinea(mensajeIlegal + texto);
}

// A search pushes up to one history record per ply on top of the game's moves.
bool ConsolaUCI::cabeOtroMovimiento() const {
    return motor->tablero->numHistorial < CapacidadHistorial - MaxPly;
}
