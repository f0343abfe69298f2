#pragma once

#include <iostream>
#include <string>

// Every line of the engine's output leaves at once, whole.
inline void escribirLinea(const std::string& linea) {
    std::cout << linea + '\n' << std::flush;
}
