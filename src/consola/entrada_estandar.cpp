#ifndef __EMSCRIPTEN__

#include <cstdio>

#include "consola/plataforma.h"

// Native builds, on every system, read the engine's input from standard input.
char* leerEntrada(char* buffer, int tamano) {
    return std::fgets(buffer, tamano, stdin);
}

#endif
