#ifdef __EMSCRIPTEN__

// The WebAssembly build shares threads, events and ticks with POSIX; only its input differs. The
// host's JavaScript (standard input under Node.js, the page in a browser) hands bytes over on its
// own thread, and the line reader takes them from here as it would read a stream.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "consola/plataforma.h"

namespace {
std::mutex mutexEntrada;
std::condition_variable hayEntrada;
std::string recibido;
bool finEntrada = false;
} // namespace

extern "C" {

// Bytes of input, in any pieces: a line may come in several and several lines in one.
EMSCRIPTEN_KEEPALIVE void quorvantel_entrada(const char* bytes, int cantidad) {
    if (cantidad <= 0) return;
    {
        std::lock_guard<std::mutex> cerrojo(mutexEntrada);
        recibido.append(bytes, static_cast<std::size_t>(cantidad));
    }
    hayEntrada.notify_one();
}

// The end of the input: once the bytes received are read, the reader sees it.
EMSCRIPTEN_KEEPALIVE void quorvantel_fin_entrada() {
    {
        std::lock_guard<std::mutex> cerrojo(mutexEntrada);
        finEntrada = true;
    }
    hayEntrada.notify_one();
}
}

char* leerEntrada(char* buffer, int tamano) {
    const std::size_t maximo = static_cast<std::size_t>(tamano - 1);
    std::unique_lock<std::mutex> cerrojo(mutexEntrada);
    hayEntrada.wait(cerrojo, [maximo] {
        return finEntrada || recibido.size() >= maximo || recibido.find('\n') != std::string::npos;
    });
    if (recibido.empty()) return nullptr;
    const std::size_t finLinea = recibido.find('\n');
    const std::size_t cantidad =
        std::min(maximo, finLinea == std::string::npos ? recibido.size() : finLinea + 1);
    std::memcpy(buffer, recibido.data(), cantidad);
    buffer[cantidad] = '\0';
    recibido.erase(0, cantidad);
    return buffer;
}

#endif
