#include "apoyo/proceso.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Reloj = std::chrono::steady_clock;

bool variableActiva(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor != nullptr && *valor != '\0' && *valor != '0';
}

int milisegundosHasta(Reloj::time_point limite) {
    const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
    return resto.count() < 0 ? 0 : static_cast<int>(resto.count());
}
} // namespace

std::string Proceso::rutaMotor() {
    const char* motor = std::getenv("QV_MOTOR");
    return motor != nullptr && *motor != '\0' ? motor : QV_BINARIO;
}

Proceso::Plazo Proceso::escalar(Plazo plazo) {
    if (variableActiva("QV_SANITIZADO")) return plazo * 5;
    if (variableActiva("QV_LANZADOR")) return plazo * 2;
    return plazo;
}

Proceso::Proceso(const std::string& ruta) {
    const std::string extension = ruta.size() >= 4 ? ruta.substr(ruta.size() - 4) : "";
    finDeLineaWindows = extension == ".exe" || extension == ".EXE";
    const char* lanzador = std::getenv("QV_LANZADOR");
    if (lanzador != nullptr && *lanzador == '\0') lanzador = nullptr;
    // A write to a child that has already ended must fail, not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
    int haciaHijo[2];
    int desdeHijo[2];
    if (pipe2(haciaHijo, O_CLOEXEC) != 0) return;
    if (pipe2(desdeHijo, O_CLOEXEC) != 0) {
        close(haciaHijo[0]);
        close(haciaHijo[1]);
        return;
    }
    pid = fork();
    if (pid == 0) {
        dup2(haciaHijo[0], STDIN_FILENO);
        dup2(desdeHijo[1], STDOUT_FILENO);
        if (lanzador != nullptr)
            execlp(lanzador, lanzador, ruta.c_str(), static_cast<char*>(nullptr));
        else
            execl(ruta.c_str(), ruta.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(haciaHijo[0]);
    close(desdeHijo[1]);
    if (pid < 0) {
        close(haciaHijo[1]);
        close(desdeHijo[0]);
        return;
    }
    entrada = haciaHijo[1];
    salida = desdeHijo[0];
}

Proceso::~Proceso() {
    cerrarEntrada();
    if (pid > 0 && !estadoFinal) {
        kill(pid, SIGKILL);
        int estado = 0;
        while (waitpid(pid, &estado, 0) < 0 && errno == EINTR) {
        }
    }
    if (salida >= 0) close(salida);
}

bool Proceso::escribir(const std::string& bytes) {
    std::size_t hecho = 0;
    while (hecho < bytes.size()) {
        if (entrada < 0) return false;
        const ssize_t n = write(entrada, bytes.data() + hecho, bytes.size() - hecho);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        hecho += static_cast<std::size_t>(n);
    }
    return true;
}

bool Proceso::escribirLinea(const std::string& texto) {
    return escribir(texto + "\n");
}

void Proceso::cerrarEntrada() {
    if (entrada >= 0) close(entrada);
    entrada = -1;
}

bool Proceso::leerMas(Reloj::time_point limite) {
    if (finSalida || salida < 0) return false;
    for (;;) {
        pollfd pfd{salida, POLLIN, 0};
        const int listos = poll(&pfd, 1, milisegundosHasta(limite));
        if (listos < 0 && errno == EINTR) continue;
        if (listos <= 0) return false;
        char buffer[4096];
        const ssize_t n = read(salida, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            finSalida = true;
            return false;
        }
        pendiente.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
}

std::optional<std::string> Proceso::leerLinea(Plazo plazo) {
    const auto limite = Reloj::now() + plazo;
    for (;;) {
        const std::string::size_type fin = pendiente.find('\n');
        if (fin != std::string::npos) {
            std::string linea = pendiente.substr(0, fin);
            pendiente.erase(0, fin + 1);
            if (finDeLineaWindows && !linea.empty() && linea.back() == '\r') linea.pop_back();
            return linea;
        }
        if (!leerMas(limite)) break;
    }
    if (finSalida && !pendiente.empty()) {
        std::string resto;
        resto.swap(pendiente);
        return resto;
    }
    return std::nullopt;
}

std::optional<std::string>
Proceso::leerHasta(const std::function<bool(const std::string&)>& predicado, Plazo plazo,
                   std::vector<std::string>* leidas) {
    const auto limite = Reloj::now() + plazo;
    for (;;) {
        const auto linea = leerLinea(Plazo(milisegundosHasta(limite)));
        if (!linea) return std::nullopt;
        if (leidas != nullptr) leidas->push_back(*linea);
        if (predicado(*linea)) return linea;
    }
}

bool Proceso::leerHastaFin(std::vector<std::string>& lineas, Plazo plazo) {
    const auto limite = Reloj::now() + plazo;
    for (;;) {
        const auto linea = leerLinea(Plazo(milisegundosHasta(limite)));
        if (linea) {
            lineas.push_back(*linea);
            continue;
        }
        return finSalida;
    }
}

std::optional<int> Proceso::esperarFin(Plazo plazo) {
    if (estadoFinal || pid <= 0) return estadoFinal;
    const auto limite = Reloj::now() + plazo;
    for (;;) {
        int estado = 0;
        const pid_t r = waitpid(pid, &estado, WNOHANG);
        if (r == pid) {
            estadoFinal = WIFEXITED(estado) ? WEXITSTATUS(estado) : -WTERMSIG(estado);
            return estadoFinal;
        }
        if (r < 0 && errno != EINTR) return std::nullopt;
        if (Reloj::now() >= limite) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
