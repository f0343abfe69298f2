#include <cstdio>
#include <cstring>

#include "consola/banco.h"
#include "consola/consola_uci.h"
#include "consola/motor.h"

// Without arguments the engine speaks UCI on its standard input and output; "bench" runs the
// search benchmark instead and ends.
int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "bench") == 0) {
        bancoDeLineaDeOrdenes();
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "Uso: %s [bench]\n", argv[0]);
        return 2;
    }
    Motor motor;
    {
        ConsolaUCI consola;
        consola.motor = &motor;
        motor.consola = &consola;
        consola.ejecutar();
        motor.consola = nullptr;
    }
    return 0;
}
