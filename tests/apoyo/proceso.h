#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The real engine binary run as a child process over pipes. Every wait has a deadline, so a
// hung engine fails the test instead of hanging it; the destructor kills a child still alive.
// QV_MOTOR names another engine binary to run instead of the one built beside the tests, and
// QV_LANZADOR a program that starts it (an emulator such as wine for a Windows build).
class Proceso {
  public:
    using Plazo = std::chrono::milliseconds;

    // The engine started with the given command-line arguments.
    explicit Proceso(const std::vector<std::string>& argumentos = {});
    Proceso(const Proceso&) = delete;
    Proceso& operator=(const Proceso&) = delete;
    ~Proceso();

    // Writes the bytes as they are (NUL and "\r" included); false when the pipe is closed.
    bool escribir(const std::string& bytes);
    void cerrarEntrada();

    // The next output line without its "\n", and without the "\r" before it that a Windows build
    // writes; nothing when the deadline passes or the output ends first. A last piece without a
    // line end is returned as a line.
    std::optional<std::string> leerLinea(Plazo plazo = plazoPorDefecto());
    // True once the output has ended and every line has been read.
    bool agotado() const { return finSalida && pendiente.empty(); }

    // Exit status (0..255) after a normal exit, minus the signal number after a kill by a
    // signal; nothing when the child is still running at the deadline.
    std::optional<int> esperarFin(Plazo plazo = plazoPorDefecto());

    // Deadlines grow under the sanitizers (environment variable QV_SANITIZADO) and under a
    // launcher, by the factor QV_LENTITUD where it is set.
    static Plazo escalar(Plazo plazo);
    static Plazo plazoPorDefecto() { return escalar(Plazo(10000)); }

  private:
    pid_t pid = -1;
    int entrada = -1;
    int salida = -1;
    bool finSalida = false;
    std::optional<int> estadoFinal;
    std::string pendiente;
};
