#include "apoyo/motor_prueba.h"

#include <iostream>
#include <sstream>

Motor& motorDePrueba() {
    static Motor* motor = [] {
        std::ostringstream nulo;
        std::streambuf* anterior = std::cout.rdbuf(nulo.rdbuf());
        Motor* creado = new Motor();
        std::cout.rdbuf(anterior);
        return creado;
    }();
    return *motor;
}
