#pragma once

#include <chrono>
#include <functional>
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

    explicit Proceso(const std::string& ruta = rutaMotor());
    Proceso(const Proceso&) = delete;
    Proceso& operator=(const Proceso&) = delete;
    ~Proceso();

    // False when the child could not be started.
    bool iniciado() const { return pid > 0; }

    // Writes the bytes as they are (NUL and "\r" included); false when the pipe is closed.
    bool escribir(const std::string& bytes);
    // Writes the text followed by "\n".
    bool escribirLinea(const std::string& texto);
    void cerrarEntrada();

    // The next output line without its "\n"; nothing when the deadline passes or the output
    // ends first. A last piece without a line end is returned as a line at the end of output.
    std::optional<std::string> leerLinea(Plazo plazo = plazoPorDefecto());
    // Reads lines until one satisfies the predicate and returns it; every line read, the
    // matching one included, is appended to `leidas` when given.
    std::optional<std::string> leerHasta(const std::function<bool(const std::string&)>& predicado,
                                         Plazo plazo = plazoPorDefecto(),
                                         std::vector<std::string>* leidas = nullptr);
    // Reads every line up to the end of output; false when the deadline passes first.
    bool leerHastaFin(std::vector<std::string>& lineas, Plazo plazo = plazoPorDefecto());

    // Exit status (0..255) after a normal exit, minus the signal number after a kill by a
    // signal; nothing when the child is still running at the deadline.
    std::optional<int> esperarFin(Plazo plazo = plazoPorDefecto());

    // The engine binary the tests run: QV_MOTOR when set, else the one built beside them.
    static std::string rutaMotor();

    // Deadlines grow under the sanitizers (environment variable QV_SANITIZADO) and under a
    // launcher.
    static Plazo escalar(Plazo plazo);
    static Plazo plazoPorDefecto() { return escalar(Plazo(10000)); }

  private:
    // Reads what is available into `pendiente`; false at the end of output or the deadline.
    bool leerMas(std::chrono::steady_clock::time_point limite);

    pid_t pid = -1;
    int entrada = -1;
    int salida = -1;
    bool finSalida = false;
    // A Windows build ends its lines with "\r\n"; lines are handed out without the "\r".
    bool finDeLineaWindows = false;
    std::optional<int> estadoFinal;
    std::string pendiente;
};
