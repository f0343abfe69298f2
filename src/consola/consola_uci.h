#pragma once

#include <cstdint>
#include <deque>
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
    void comandoUcinewgame(const std::string& argumentos);
    void comandoUci(const std::string& argumentos);
    void comandoIsready(const std::string& argumentos);
    void comandoPosition(const std::string& argumentos);
    void comandoGo(const std::string& argumentos);
    void comandoStop(const std::string& argumentos);
    void comandoSetoption(const std::string& argumentos);
    void comandoTablero(const std::string& argumentos);
    void comandoBitboards(const std::string& argumentos);
    void comandoListamovs(const std::string& argumentos);
    void comandoEval(const std::string& argumentos);
    void comandoMove(const std::string& argumentos);
    void comandoPositionTest(const std::string& argumentos);
    void comandoSee(const std::string& argumentos);
    void comandoPerft(const std::string& argumentos);
    void comandoDivide(const std::string& argumentos);

    void cambiarHash(const std::string& valor);
    void cambiarLimpiarHash(const std::string& valor);
    void cambiarAcercaDe(const std::string& valor);
    void cambiarResumen(const std::string& valor);

    std::vector<std::unique_ptr<Comando>> comandos;
    // Owned; released by the destructor.
    std::vector<OpcionUCI*> opciones;

  protected:
    void agregarComando(const char* nombre, ManejadorComando manejador, bool liberaLector);

  private:
    // Runs one line through the command table; `liberar` is false for a line whose reader was
    // already released when it was put aside during a search.
    void despachar(const std::string& texto, bool liberar);
    void liberarLineaActual();
    void ejecutarPendientes();
    // Plays a move text on the engine's board when it names a legal move and the history has
    // room; otherwise prints why, with `mensajeIlegal` before the text when it names no legal move.
    void jugarTexto(const std::string& texto, const std::string& mensajeIlegal);
    // Whether another move can be kept on the history without leaving the search short of room.
    bool cabeOtroMovimiento() const;
    bool profundidadContable(int32_t profundidad) const;

    // While a search runs, lines that would change what the search is using wait here and run,
    // in order, once "bestmove" has been printed.
    bool buscando = false;
    bool reproduciendo = false;
    std::deque<std::string> pendientes;
};

// The argument text of a line whose command word has the given length: everything after the
// word and the one character that follows it; empty when nothing follows the word.
std::string textoArgumentos(const std::string& linea, std::string::size_type longitudPalabra);
