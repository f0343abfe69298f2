#pragma once

#include "consola/motor.h"

// One engine per test process, built with its start-up banner kept off the test output.
Motor& motorDePrueba();
