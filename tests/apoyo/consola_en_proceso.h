#pragma once

// The engine's UCI console run inside the calling process, without the reader thread: each line
// goes straight to the dispatcher. A running search finds the lines queued in `durante` at its
// periodic checks, one per check, and "stop" once they are used up, so no search runs past its
// first few checks whatever its limits. Needs no test framework: the fuzz targets use it too.

#include <deque>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "consola/consola_uci.h"
#include "consola/motor.h"
#include "consola/salida.h"
#include "consola/texto.h"

// One engine per process, built with its start-up banner kept off the output.
inline Motor& motorSilencioso() {
    static Motor* motor = [] {
        SalidaSilenciada silencio;
        return new Motor();
    }();
    return *motor;
}

class ConsolaEnProceso : public ConsolaUCI {
  public:
    explicit ConsolaEnProceso(Motor& m = motorSilencioso()) {
        motor = &m;
        m.consola = this;
    }
    ~ConsolaEnProceso() override { motor->consola = nullptr; }

    // Runs one line as the reader would hand it over; returns the lines printed meanwhile, none
    // when the output is discarded.
    std::vector<std::string> enviar(const std::string& texto) {
        std::ostringstream capturada;
        std::streambuf* anterior =
            std::cout.rdbuf(descartar ? static_cast<std::streambuf*>(&nulo) : capturada.rdbuf());
        linea = texto;
        // A search's first check finds a line waiting, and so does each later one.
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
        eventoLineaLista.reiniciar();
        std::cout.rdbuf(anterior);
        // "quit" only sets flags; the next line runs as in a live console.
        salir = false;
        std::vector<std::string> lineas;
        std::istringstream leida(capturada.str());
        for (std::string l; std::getline(leida, l);) lineas.push_back(l);
        return lineas;
    }

    // Runs a text of lines separated by "\n". A "go" with words takes the line after it as the one
    // its search finds at the first check; a search that ended sooner leaves it to run next.
    void alimentar(const std::string& texto) {
        std::vector<std::string> lineas;
        std::istringstream entrada(texto);
        for (std::string l; std::getline(entrada, l);) lineas.push_back(l);
        if (texto.empty() || texto.back() == '\n') lineas.emplace_back();
        for (std::size_t i = 0; i < lineas.size(); ++i) {
            const std::string l = ajustar(lineas[i]);
            const bool busca =
                primeraPalabra(l) == "go" && !dividirPalabras(textoArgumentos(l, 2), " ").empty();
            if (busca && i + 1 < lineas.size()) durante.push_back(ajustar(lineas[++i]));
            enviar(l);
            std::deque<std::string> sobrantes;
            sobrantes.swap(durante);
            for (const std::string& s : sobrantes) enviar(s);
        }
    }

    // Rewrites each line `alimentar` runs, just before it runs; unchanged here.
    virtual std::string ajustar(const std::string& l) { return l; }

    // A search's periodic check: the next queued line, or "stop".
    void procesarLinea() override {
        ++comprobaciones;
        if (durante.empty()) {
            linea = "stop";
        } else {
            linea = durante.front();
            durante.pop_front();
        }
        eventoLineaLista.senalar();
        ConsolaUCI::procesarLinea();
    }

    std::deque<std::string> durante;
    int comprobaciones = 0;
    bool descartar = false;

  private:
    BufferNulo nulo;
};
