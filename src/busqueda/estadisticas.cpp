#include "busqueda/estadisticas.h"

Estadisticas estadisticas{};
