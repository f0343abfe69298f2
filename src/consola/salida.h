#pragma once

#include <iostream>
#include <string>

// Every piece of the engine's output leaves whole and is flushed at once, so that the interface
// never reads part of a line.
inline void escribir(const std::string& texto) {
    std::cout << texto << std::flush;
}

inline void escribirLinea(const std::string& linea) {
    escribir(linea + '\n');
}

// The line of hyphens that frames the start-up banner and closes the option values below it.
inline void escribirGuiones() {
    constexpr std::string::size_type AnchoGuiones = 64;
    escribirLinea(std::string(AnchoGuiones, '-'));
}
