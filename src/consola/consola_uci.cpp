#include "consola/consola_uci.h"

#include "consola/motor.h"
#include "consola/texto.h"
#include "uci/opciones.h"
#include "uci/opciones_actuales.h"

namespace {

constexpr int32_t HashMaximoMB = 1024;
constexpr int32_t HashMinimoMB = 1;

// The commands a search executes at once; everything else waits for its end.
bool atendidoDuranteBusqueda(const std::string& palabra) {
    return palabra == "stop" || palabra == "quit" || palabra == "isready";
}

} // namespace

ConsolaUCI::ConsolaUCI() {
    // Lookups take the first match, so the table keeps this order. Only "go" releases the
    // reader itself, before it starts searching.
    agregarComando("quit", &ConsolaUCI::comandoQuit, false);
    agregarComando("ucinewgame", &ConsolaUCI::comandoUcinewgame, false);
    agregarComando("uci", &ConsolaUCI::comandoUci, false);
    agregarComando("isready", &ConsolaUCI::comandoIsready, false);
    agregarComando("position", &ConsolaUCI::comandoPosition, false);
    agregarComando("go", &ConsolaUCI::comandoGo, true);
    agregarComando("stop", &ConsolaUCI::comandoStop, false);
    agregarComando("setoption", &ConsolaUCI::comandoSetoption, false);
    agregarComando("tablero", &ConsolaUCI::comandoTablero, false);
    agregarComando("bitboards", &ConsolaUCI::comandoBitboards, false);
    agregarComando("listamovs", &ConsolaUCI::comandoListamovs, false);
    agregarComando("eval", &ConsolaUCI::comandoEval, false);
    agregarComando("move", &ConsolaUCI::comandoMove, false);
    agregarComando("position_test", &ConsolaUCI::comandoPositionTest, false);
    agregarComando("see", &ConsolaUCI::comandoSee, false);
    agregarComando("perft", &ConsolaUCI::comandoPerft, false);
    agregarComando("divide", &ConsolaUCI::comandoDivide, false);

    // The options follow the commands, in the order "uci" lists them.
    opciones.push_back(new OpcionUCISpin("Hash", this, &ConsolaUCI::cambiarHash, HashMaximoMB,
                                         HashMinimoMB, opcionesActuales.tamanoHashMB));
    opciones.push_back(new OpcionUCIButton("Clear Hash", this, &ConsolaUCI::cambiarLimpiarHash));
    opciones.push_back(new OpcionUCIString("UCI_EngineAbout", this, &ConsolaUCI::cambiarAcercaDe,
                                           opcionesActuales.textoAcercaDe));
    opciones.push_back(new OpcionUCICheck("Resumen Busqueda", this, &ConsolaUCI::cambiarResumen,
                                          opcionesActuales.resumenBusqueda));
}

ConsolaUCI::~ConsolaUCI() {
    for (OpcionUCI* opcion : opciones) delete opcion;
}

void ConsolaUCI::agregarComando(const char* nombre, ManejadorComando manejador, bool liberaLector) {
    comandos.push_back(
        std::unique_ptr<Comando>(new Comando{*this, nombre, manejador, liberaLector}));
}

std::string textoArgumentos(const std::string& linea, std::string::size_type longitudPalabra) {
    if (linea.size() <= longitudPalabra) return std::string();
    return linea.substr(longitudPalabra + 1);
}

void ConsolaUCI::procesarLinea() {
    if (buscando && !atendidoDuranteBusqueda(primeraPalabra(linea))) {
        pendientes.push_back(linea);
        liberarLector();
        return;
    }
    despachar(linea, true);
}

void ConsolaUCI::despachar(const std::string& texto, bool liberar) {
    const std::string palabra = primeraPalabra(texto);
    for (const auto& comando : comandos) {
        if (comando->nombre != palabra) continue;
        (comando->consola.*comando->manejador)(textoArgumentos(texto, palabra.size()));
        if (liberar && !comando->liberaLector) liberarLector();
        return;
    }
    if (liberar) liberarLector();
}

// A line replayed after a search had its reader released when it was put aside.
void ConsolaUCI::liberarLineaActual() {
    if (!reproduciendo) liberarLector();
}

void ConsolaUCI::ejecutarPendientes() {
    reproduciendo = true;
    while (!pendientes.empty() && !salir) {
        const std::string texto = pendientes.front();
        pendientes.pop_front();
        despachar(texto, false);
    }
    pendientes.clear();
    reproduciendo = false;
}
