#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apoyo/proceso.h"

using Lineas = std::vector<std::string>;

inline bool empiezaPor(const std::string& linea, const std::string& prefijo) {
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

// The engine with its ten start-up lines read. Deadlines are in milliseconds before the scaling
// of Proceso::escalar. The destructor sends "quit", a no-op for an engine that has ended.
class SesionUCI {
  public:
    SesionUCI() {
        for (int i = 0; i < 10; ++i)
            if (const auto linea = proceso.leerLinea()) arranque.push_back(*linea);
        EXPECT_EQ(arranque.size(), 10u) << "start-up lines missing";
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
        ADD_FAILURE() << "no \"" << prefijo << "\" in time after " << leidas.size() << " lines";
        return {};
    }
    // Everything printed before the answer to an "isready" sent now.
    Lineas valla(int plazo = 10000) {
        enviar("isready");
        Lineas r = hasta("readyok", plazo);
        if (!r.empty()) r.pop_back();
        return r;
    }
    Lineas salidaDe(const std::string& linea) {
        enviar(linea);
        return valla();
    }
    // The engine ends by itself with status 0 and prints nothing more.
    void finSilencioso() {
        const auto linea = proceso.leerLinea();
        EXPECT_FALSE(linea) << *linea;
        EXPECT_TRUE(proceso.agotado()) << "output did not end";
        EXPECT_EQ(proceso.esperarFin(), 0);
    }

    Proceso proceso;
    Lineas arranque;
};
