#pragma once

#include <memory>
#include <string>
#include <vector>

#include "consola/consola.h"

class ConsolaUCI;
class OpcionUCI;

// Handler of one command; receives the argument text of the line.
using ManejadorComando = void (ConsolaUCI::*)(const std::string& argumentos);

// One entry of the command table.
struct Comando {
    ConsolaUCI& consola;
    std::string nombre;
    ManejadorComando manejador;
    // True when the handler releases the reader itself.
    bool liberaLector;
};

// The UCI console: the command table, searched from the front, and the engine's options.
class ConsolaUCI : public Consola {
  public:
    ConsolaUCI();
    ~ConsolaUCI() override;

    void procesarLinea() override;

    void comandoQuit(const std::string& argumentos);

    std::vector<std::unique_ptr<Comando>> comandos;
    // Owned; released by the destructor.
    std::vector<OpcionUCI*> opciones;

  protected:
    void agregarComando(const char* nombre, ManejadorComando manejador, bool liberaLector);
};

// The argument text of a line whose command word has the given length: everything after the
// word and the one character that follows it; empty when nothing follows the word.
std::string textoArgumentos(const std::string& linea, std::string::size_type longitudPalabra);
