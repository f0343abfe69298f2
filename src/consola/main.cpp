#include "consola/consola_uci.h"
#include "consola/motor.h"

int main() {
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
