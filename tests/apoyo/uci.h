#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

using Lineas = std::vector<std::string>;

inline bool empiezaPor(const std::string& linea, const std::string& prefijo) {
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

// The lines of a text, each ended by "\n", so that expected output reads as one literal.
inline Lineas lineasDe(const std::string& texto) {
    Lineas r;
    std::size_t i = 0;
    for (std::size_t fin; (fin = texto.find('\n', i)) != std::string::npos; i = fin + 1)
        r.push_back(texto.substr(i, fin - i));
    return r;
}

// The last line, or nothing for a failed read.
inline std::string ultima(const Lineas& lineas) {
    return lineas.empty() ? std::string() : lineas.back();
}

inline Lineas palabras(const std::string& linea) {
    std::istringstream s(linea);
    Lineas r;
    for (std::string p; s >> p;) r.push_back(p);
    return r;
}

// A move in coordinates, with a promotion letter or not.
inline bool esJugada(const std::string& texto) {
    static const std::regex forma("[a-h][1-8][a-h][1-8][qrbn]?");
    return std::regex_match(texto, forma);
}

// Two empty ranks and the start position as the "tablero" printout draws them.
const std::string Vacias = ". . . . . . . . \n. . . . . . . . \n";
const std::string Inicial = "r n b q k b n r \np p p p p p p p \n" + Vacias + Vacias +
                            "P P P P P P P P \nR N B Q K B N R \n";

// The line with the values of the "time" and "nps" fields replaced by "*", all else kept.
inline std::string sinTiempos(std::string linea) {
    for (const std::string campo : {" time ", " nps "}) {
        const std::size_t i = linea.find(campo);
        if (i == std::string::npos) continue;
        const std::size_t desde = i + campo.size();
        const std::size_t hasta = linea.find_first_not_of("0123456789", desde);
        linea.replace(desde, std::min(hasta, linea.size()) - desde, "*");
    }
    return linea;
}

inline Lineas sinTiempos(const Lineas& lineas) {
    Lineas r;
    for (const std::string& l : lineas) r.push_back(sinTiempos(l));
    return r;
}

// The engine past its ten start-up lines; deadlines are in milliseconds before the sanitizer
// scaling. The destructor sends "quit", which a test that ended the engine itself makes a no-op.
class SesionUCI {
  public:
    explicit SesionUCI(bool resumen = true) {
        for (int i = 0; i < 10; ++i) {
            if (!proceso.leerLinea()) {
                ADD_FAILURE() << "start-up line " << i + 1 << " missing";
                return;
            }
        }
        if (!resumen) enviar("setoption name Resumen Busqueda value false");
    }
    ~SesionUCI() {
        if (proceso.escribirLinea("quit")) proceso.esperarFin();
    }

    void enviar(const std::string& linea) { EXPECT_TRUE(proceso.escribirLinea(linea)) << linea; }

    // Every line up to and including the first one that starts with the prefix; empty, with a
    // failure, when the deadline passes first.
    Lineas hasta(const std::string& prefijo, int plazo = 10000) {
        return leer([&](const std::string& l) { return empiezaPor(l, prefijo); }, plazo, prefijo);
    }
    // The lines of a search up to and including "bestmove".
    Lineas buscar(const std::string& go, int plazo = 10000) {
        enviar(go);
        return hasta("bestmove ", plazo);
    }
    // Everything printed for the line, fenced off by an "isready" sent after it.
    Lineas salidaDe(const std::string& linea, int plazo = 10000) {
        enviar(linea);
        enviar("isready");
        Lineas r = leer([](const std::string& l) { return l == "readyok"; }, plazo, linea);
        if (!r.empty()) r.pop_back();
        return r;
    }

    // "isready" is answered at once: nothing else is pending before it.
    void listo() {
        enviar("isready");
        EXPECT_EQ(proceso.leerLinea(Proceso::escalar(Proceso::Plazo(3000))), "readyok");
    }
    // Side to move and history of a "tablero" printout, after its board lines when asked for.
    std::string estado(bool conFilas = false) {
        const Lineas t = salidaDe("tablero");
        if (t.size() != 22) return "a printout of " + std::to_string(t.size()) + " lines";
        std::string r;
        for (int i = 0; i < 8 && conFilas; ++i) r += t[i] + '\n';
        return r + t[9].substr(16) + '|' + t[21].substr(11);
    }

    Proceso proceso;

  private:
    Lineas leer(const std::function<bool(const std::string&)>& fin, int plazo,
                const std::string& que) {
        Lineas leidas;
        if (proceso.leerHasta(fin, Proceso::escalar(Proceso::Plazo(plazo)), &leidas)) return leidas;
        ADD_FAILURE() << "no end of output for \"" << que << "\" in time; last line: "
                      << (leidas.empty() ? std::string("none") : leidas.back());
        return {};
    }
};
