#ifndef _WIN32

#include "consola/plataforma.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {
std::atomic<unsigned> falloForzado{0};

struct EventoPosix {
    std::mutex mutex;
    std::condition_variable condicion;
    bool senalado = false;
};

EventoPosix& estado(void* objeto) {
    return *static_cast<EventoPosix*>(objeto);
}
} // namespace

Evento::Evento() : objeto(new EventoPosix) {}

Evento::~Evento() {
    delete static_cast<EventoPosix*>(objeto);
}

void Evento::esperar() {
    EventoPosix& e = estado(objeto);
    std::unique_lock<std::mutex> cerrojo(e.mutex);
    e.condicion.wait(cerrojo, [&e] { return e.senalado; });
    e.senalado = false;
}

bool Evento::probar() {
    EventoPosix& e = estado(objeto);
    std::lock_guard<std::mutex> cerrojo(e.mutex);
    const bool estaba = e.senalado;
    e.senalado = false;
    return estaba;
}

void Evento::senalar() {
    EventoPosix& e = estado(objeto);
    {
        std::lock_guard<std::mutex> cerrojo(e.mutex);
        e.senalado = true;
    }
    e.condicion.notify_one();
}

void Evento::reiniciar() {
    EventoPosix& e = estado(objeto);
    std::lock_guard<std::mutex> cerrojo(e.mutex);
    e.senalado = false;
}

Hilo::~Hilo() {
    esperarFin();
}

unsigned Hilo::iniciar(std::function<void()> procedimiento) {
    const unsigned forzado = falloForzado.exchange(0);
    if (forzado != 0) return forzado;
    try {
        objeto = new std::thread(std::move(procedimiento));
    } catch (const std::system_error& e) {
        // std::thread reports a failed start only by exception; the callers expect a code.
        const int codigo = e.code().value();
        return codigo != 0 ? static_cast<unsigned>(codigo) : 1u;
    }
    return 0;
}

void Hilo::esperarFin() {
    auto* hilo = static_cast<std::thread*>(objeto);
    if (hilo == nullptr) return;
    if (hilo->joinable()) hilo->join();
    delete hilo;
    objeto = nullptr;
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

// POSIX streams never translate line ends.
void entradaSinTraducir() {}

#endif
