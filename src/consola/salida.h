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
