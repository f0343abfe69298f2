#include "consola/consola.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "consola/salida.h"

namespace {
constexpr int TamanoBuffer = 1024;
}

Consola::Consola() {
    entradaSinTraducir();
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
}

Consola::~Consola() = default;

void Consola::ejecutar() {
    salir = false;
    eventoLineaProcesada.reiniciar();
    eventoLineaLista.reiniciar();

    Hilo lector;
    const unsigned error = lector.iniciar([this] { hiloLector(this); });
    if (error != 0) {
        escribirLinea("CreateThread Failed = " + std::to_string(error));
        std::exit(1);
    }

    while (!salir) {
        eventoLineaLista.esperar();
        procesarLinea();
    }
    // The reader reads `salir` once more after its last release; the console must outlive it.
    lector.esperarFin();
}

bool Consola::hayLineaPendiente() {
    return eventoLineaLista.probar();
}

void Consola::liberarLector() {
    eventoLineaProcesada.senalar();
}

void Consola::hiloLector(Consola* consola) {
    char buffer[TamanoBuffer];
    while (!consola->salir) {
        consola->linea.clear();
        bool finDeLinea = false;
        do {
            // The read gives no count, and a line may hold NUL bytes: with the buffer pre-filled
            // with non-NUL bytes, the last NUL is the one written after the text.
            std::memset(buffer, '\n', sizeof buffer);
            if (leerEntrada(buffer, TamanoBuffer) == nullptr) {
                consola->linea = "quit";
                break;
            }
            int longitud = TamanoBuffer - 1;
            while (buffer[longitud] != '\0') --longitud;
            if (longitud > 0 && buffer[longitud - 1] == '\n') {
                finDeLinea = true;
                --longitud;
            }
            consola->linea.append(buffer, static_cast<std::size_t>(longitud));
        } while (!finDeLinea && !consola->salir);

        // Lines ended by "\r\n" must compare like lines ended by "\n".
        if (finDeLinea && !consola->linea.empty() && consola->linea.back() == '\r')
            consola->linea.pop_back();

        consola->eventoLineaLista.senalar();
        consola->eventoLineaProcesada.esperar();
    }
}
