#pragma once

class Busqueda;
class Tablero;
class ControlTiempo;
class Consola;
class TablaHash;

// The engine context: owns the position, the search, the time control and the hash table for
// the whole run; every object reaches its siblings through it.
class Motor {
  public:
    Motor();
    Motor(const Motor&) = delete;
    Motor& operator=(const Motor&) = delete;
    ~Motor();

    Busqueda* busqueda = nullptr;
    Tablero* tablero = nullptr;
    ControlTiempo* controlTiempo = nullptr;
    Consola* consola = nullptr; // not owned; set once the console exists
    TablaHash* tablaHash = nullptr;
};
