#include "consola/plataforma.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <utility>

namespace {
std::atomic<unsigned> falloForzado{0};
}

void Evento::esperar() {
    std::unique_lock<std::mutex> cerrojo(mutex);
    condicion.wait(cerrojo, [this] { return senalado; });
    senalado = false;
}

bool Evento::probar() {
    std::lock_guard<std::mutex> cerrojo(mutex);
    const bool estaba = senalado;
    senalado = false;
    return estaba;
}

void Evento::senalar() {
    {
        std::lock_guard<std::mutex> cerrojo(mutex);
        senalado = true;
    }
    condicion.notify_one();
}

void Evento::reiniciar() {
    std::lock_guard<std::mutex> cerrojo(mutex);
    senalado = false;
}

Hilo::~Hilo() {
    esperarFin();
}

unsigned Hilo::iniciar(std::function<void()> procedimiento) {
    const unsigned forzado = falloForzado.exchange(0);
    if (forzado != 0) return forzado;
    try {
        hilo = std::thread(std::move(procedimiento));
    } catch (const std::system_error& e) {
        // std::thread reports a failed start only by exception; the callers expect a code.
        const int codigo = e.code().value();
        return codigo != 0 ? static_cast<unsigned>(codigo) : 1u;
    }
    return 0;
}

void Hilo::esperarFin() {
    if (hilo.joinable()) hilo.join();
}

void forzarFalloProximoHilo(unsigned codigo) {
    falloForzado.store(codigo);
}

uint32_t ticksMilisegundos() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}
