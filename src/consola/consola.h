#pragma once

#include <string>

#include "consola/plataforma.h"

class Motor;

// Owns the current input line and the two events that pass lines from the reader thread to the
// main thread, which executes them one at a time.
class Consola {
  public:
    Consola();
    Consola(const Consola&) = delete;
    Consola& operator=(const Consola&) = delete;
    virtual ~Consola();

    // Executes the line held in `linea`.
    virtual void procesarLinea() = 0;

    // Starts the reader and dispatches lines until `salir` is set; returns after the reader
    // has ended.
    void ejecutar();
    // Zero time-out test for a ready line; a true answer consumes the signal.
    bool hayLineaPendiente();
    // Lets the reader go on to the next line.
    void liberarLector();

    static void hiloLector(Consola* consola);

    Motor* motor = nullptr;
    bool salir = false;
    Evento eventoLineaProcesada;
    Evento eventoLineaLista;
    std::string linea;
};
