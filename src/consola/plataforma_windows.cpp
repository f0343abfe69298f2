#ifdef _WIN32

#include "consola/plataforma.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <utility>

namespace {
std::atomic<unsigned> falloForzado{0};

using Procedimiento = std::function<void()>;

DWORD WINAPI arrancarHilo(LPVOID parametro) {
    auto* procedimiento = static_cast<Procedimiento*>(parametro);
    (*procedimiento)();
    delete procedimiento;
    return 0;
}
} // namespace

Evento::Evento() : objeto(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

Evento::~Evento() {
    if (objeto != nullptr) CloseHandle(objeto);
}

void Evento::esperar() {
    WaitForSingleObject(objeto, INFINITE);
}

bool Evento::probar() {
    return WaitForSingleObject(objeto, 0) == WAIT_OBJECT_0;
}

void Evento::senalar() {
    SetEvent(objeto);
}

// A successful zero time-out wait on an automatic-reset event takes its signal away.
void Evento::reiniciar() {
    WaitForSingleObject(objeto, 0);
}

Hilo::~Hilo() {
    esperarFin();
}

unsigned Hilo::iniciar(std::function<void()> procedimiento) {
    const unsigned forzado = falloForzado.exchange(0);
    if (forzado != 0) return forzado;
    auto* copia = new Procedimiento(std::move(procedimiento));
    objeto = CreateThread(nullptr, 0, arrancarHilo, copia, 0, nullptr);
    if (objeto == nullptr) {
        const DWORD codigo = GetLastError();
        delete copia;
        return codigo != 0 ? static_cast<unsigned>(codigo) : 1u;
    }
    return 0;
}

void Hilo::esperarFin() {
    if (objeto == nullptr) return;
    WaitForSingleObject(objeto, INFINITE);
    CloseHandle(objeto);
    objeto = nullptr;
}

void forzarFalloProximoHilo(unsigned codigo) {
    falloForzado.store(codigo);
}

uint32_t ticksMilisegundos() {
    return static_cast<uint32_t>(GetTickCount());
}

// Text mode would turn "\r\n" into "\n" before the line reader sees it; the reader drops the
// carriage return itself, the same way on every system.
void entradaSinTraducir() {
    _setmode(_fileno(stdin), _O_BINARY);
}

#endif
