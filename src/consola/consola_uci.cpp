#include "consola/consola_uci.h"

#include "consola/texto.h"

ConsolaUCI::ConsolaUCI() {
    // Lookups take the first match, so the table keeps this order: quit, ucinewgame, uci,
    // isready, position, go, stop, setoption, tablero, bitboards, listamovs, eval, move,
    // position_test, see, perft, divide. Only "go" releases the reader itself.
    agregarComando("quit", &ConsolaUCI::comandoQuit, false);

    // The options follow the commands, in the order "uci" lists them.
}

ConsolaUCI::~ConsolaUCI() {
    // The options are deleted here, in list order, once the option classes are linked in.
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
    const std::string palabra = primeraPalabra(linea);
    for (const auto& comando : comandos) {
        if (comando->nombre != palabra) continue;
        (comando->consola.*comando->manejador)(textoArgumentos(linea, palabra.size()));
        if (!comando->liberaLector) liberarLector();
        return;
    }
    liberarLector();
}

void ConsolaUCI::comandoQuit(const std::string&) {
    salir = true;
}
