#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

using Lineas = std::vector<std::string>;

inline bool empiezaPor(const std::string& linea, const std::string& prefijo) {
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

inline Lineas palabras(const std::string& linea) {
    std::istringstream s(linea);
    Lineas r;
    for (std::string p; s >> p;) r.push_back(p);
    return r;
}

// The engine with its ten start-up lines read. Deadlines are in milliseconds before the scaling
// of Proceso::escalar. The destructor sends "quit", a no-op for an engine that has ended.
class SesionUCI {
  public:
    SesionUCI() {
        for (int i = 0; i < 10; ++i) {
            const auto linea = proceso.leerLinea();
            if (!linea) ADD_FAILURE() << "start-up line " << i + 1 << " missing";
            if (!linea) return;
            arranque.push_back(*linea);
        }
    }
    ~SesionUCI() {
        if (proceso.escribir("quit\n")) proceso.esperarFin();
    }

    void enviar(const std::string& linea) { EXPECT_TRUE(proceso.escribir(linea + "\n")) << linea; }

    // Every line up to and including the first that starts with the prefix; empty, with a
    // failure, when the deadline passes first.
    Lineas hasta(const std::string& prefijo, int plazo = 10000) {
        using namespace std::chrono;
        const auto limite = steady_clock::now() + Proceso::escalar(Proceso::Plazo(plazo));
        Lineas leidas;
        while (const auto l =
                   proceso.leerLinea(duration_cast<Proceso::Plazo>(limite - steady_clock::now()))) {
            leidas.push_back(*l);
            if (empiezaPor(*l, prefijo)) return leidas;
        }
        ADD_FAILURE() << "no \"" << prefijo
                      << "\" in time; last line: " << (leidas.empty() ? "none" : leidas.back());
        return {};
    }
    // Everything printed for the line, fenced off by an "isready" sent after it.
    Lineas salidaDe(const std::string& linea, int plazo = 10000) {
        enviar(linea);
        enviar("isready");
        Lineas r = hasta("readyok", plazo);
        if (!r.empty()) r.pop_back();
        return r;
    }

    Proceso proceso;
    Lineas arranque;
};
