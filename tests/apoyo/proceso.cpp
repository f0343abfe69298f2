#include "apoyo/proceso.h"

#include <algorithm>
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

const char* variable(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor != nullptr && *valor != '\0' ? valor : nullptr;
}

int milisegundosHasta(Reloj::time_point limite) {
    const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
    return resto.count() < 0 ? 0 : static_cast<int>(resto.count());
}
} // namespace

Proceso::Plazo Proceso::escalar(Plazo plazo) {
    const char* sanitizado = variable("QV_SANITIZADO");
    if (sanitizado != nullptr && *sanitizado != '0') return plazo * 5;
    // A launcher that is itself emulated (wine under qemu-i386) names its own factor.
    if (const char* lentitud = variable("QV_LENTITUD"))
        return plazo * std::max(1, std::atoi(lentitud));
    return variable("QV_LANZADOR") != nullptr ? plazo * 2 : plazo;
}

Proceso::Proceso(const std::vector<std::string>& argumentos) {
    const char* ruta = variable("QV_MOTOR") != nullptr ? variable("QV_MOTOR") : QV_BINARIO;
    const char* lanzador = variable("QV_LANZADOR");
    // A write to a child that has already ended must fail, not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
    // The argument vector is built before the fork: the child only calls exec.
    std::vector<char*> argv;
    if (lanzador != nullptr) argv.push_back(const_cast<char*>(lanzador));
    argv.push_back(const_cast<char*>(ruta));
    for (const std::string& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int haciaHijo[2], desdeHijo[2];
    if (pipe2(haciaHijo, O_CLOEXEC) != 0 || pipe2(desdeHijo, O_CLOEXEC) != 0) return;
    pid = fork();
    if (pid == 0) {
        dup2(haciaHijo[0], STDIN_FILENO);
        dup2(desdeHijo[1], STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(haciaHijo[0]);
    close(desdeHijo[1]);
    entrada = haciaHijo[1];
    salida = desdeHijo[0];
}

Proceso::~Proceso() {
    cerrarEntrada();
    if (pid > 0 && !estadoFinal) {
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (salida >= 0) close(salida);
}

bool Proceso::escribir(const std::string& bytes) {
    for (std::size_t hecho = 0; hecho < bytes.size();) {
        const ssize_t n = write(entrada, bytes.data() + hecho, bytes.size() - hecho);
        if (n < 0 && errno != EINTR) return false;
        hecho += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return entrada >= 0;
}

void Proceso::cerrarEntrada() {
    if (entrada >= 0) close(entrada);
    entrada = -1;
}

std::optional<std::string> Proceso::leerLinea(Plazo plazo) {
    const auto limite = Reloj::now() + plazo;
    std::string::size_type fin;
    while ((fin = pendiente.find('\n')) == std::string::npos && !finSalida) {
        pollfd pfd{salida, POLLIN, 0};
        const int listos = poll(&pfd, 1, milisegundosHasta(limite));
        if (listos < 0 && errno == EINTR) continue;
        if (listos <= 0) return std::nullopt;
        char buffer[4096];
        const ssize_t n = read(salida, buffer, sizeof buffer);
        if (n > 0) pendiente.append(buffer, static_cast<std::size_t>(n));
        finSalida = n == 0 || (n < 0 && errno != EINTR);
    }
    if (pendiente.empty()) return std::nullopt;
    std::string linea = pendiente.substr(0, fin);
    pendiente.erase(0, fin == std::string::npos ? fin : fin + 1);
    if (fin != std::string::npos && !linea.empty() && linea.back() == '\r') linea.pop_back();
    return linea;
}

std::optional<int> Proceso::esperarFin(Plazo plazo) {
    const auto limite = Reloj::now() + plazo;
    while (!estadoFinal && pid > 0) {
        int estado = 0;
        const pid_t r = waitpid(pid, &estado, WNOHANG);
        if (r == pid)
            estadoFinal = WIFEXITED(estado) ? WEXITSTATUS(estado) : -WTERMSIG(estado);
        else if ((r < 0 && errno != EINTR) || Reloj::now() >= limite)
            return std::nullopt;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return estadoFinal;
}
