#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// Every operating-system service of the program lives in this layer.

// Automatic-reset event: created not signalled; a successful wait or test consumes the signal.
class Evento {
  public:
    Evento() = default;
    Evento(const Evento&) = delete;
    Evento& operator=(const Evento&) = delete;

    // Waits without time-out until signalled, then resets.
    void esperar();
    // Zero time-out wait: true, and the signal consumed, only if the event was signalled.
    bool probar();
    void senalar();
    // Back to not signalled.
    void reiniciar();

  private:
    std::mutex mutex;
    std::condition_variable condicion;
    bool senalado = false;
};

// One thread of the program; the owner waits for its end with esperarFin.
class Hilo {
  public:
    Hilo() = default;
    Hilo(const Hilo&) = delete;
    Hilo& operator=(const Hilo&) = delete;
    ~Hilo();

    // Starts the procedure at once. Returns 0, or the system error code when the thread
    // cannot be started.
    unsigned iniciar(std::function<void()> procedimiento);
    // Waits until the thread has ended; does nothing when none was started.
    void esperarFin();

  private:
    std::thread hilo;
};

// Makes the next Hilo::iniciar fail with the given code instead of starting a thread, so that
// tests can reach the failure path. A code of 0 cancels a pending failure.
void forzarFalloProximoHilo(unsigned codigo);

// Monotonic millisecond tick counter; wraps around like a 32-bit tick count.
uint32_t ticksMilisegundos();
