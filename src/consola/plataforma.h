#pragma once

#include <cstdint>
#include <functional>

// Every operating-system service of the program lives in this layer. Each system has its own
// implementation file, chosen when compiling; the rest of the program sees only this interface.

// Automatic-reset event: created not signalled; a successful wait or test consumes the signal.
class Evento {
  public:
    Evento();
    Evento(const Evento&) = delete;
    Evento& operator=(const Evento&) = delete;
    ~Evento();

    // Waits without time-out until signalled, then resets.
    void esperar();
    // Zero time-out wait: true, and the signal consumed, only if the event was signalled.
    bool probar();
    void senalar();
    // Back to not signalled.
    void reiniciar();

  private:
    // The system's event object.
    void* objeto;
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
    // The system's thread object; null while no thread runs.
    void* objeto = nullptr;
};

// Makes the next Hilo::iniciar fail with the given code instead of starting a thread, so that
// tests can reach the failure path. A code of 0 cancels a pending failure.
void forzarFalloProximoHilo(unsigned codigo);

// Monotonic millisecond tick counter; wraps around like a 32-bit tick count.
uint32_t ticksMilisegundos();

// Standard input delivers its bytes untranslated, so that line ends look alike on every system.
void entradaSinTraducir();

// The next piece of the engine's input, as fgets reads a stream: up to tamano - 1 bytes, through
// the first line end, then a NUL; null at the end of the input with nothing read. Waits until a
// whole line, a full buffer or the end has come. Native builds read standard input; the
// WebAssembly build reads the bytes its host hands over (standard input under Node.js, the page's
// lines in a browser).
char* leerEntrada(char* buffer, int tamano);
