// libFuzzer target: the argument text of "go", "setoption" and "position", picked by the first
// byte, through their readers alone; no search runs. A "go" gives limits whose budget never
// exceeds what the words give (negative values count as zero) and the same limits read twice;
// a "setoption" finds its name and value inside the text and changes an option only to a value
// in its range; a "position" leaves a consistent board and prints nothing but the refusal of
// words the text holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "apoyo/consistencia.h"
#include "apoyo/consola_en_proceso.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"
#include "uci/control_tiempo.h"
#include "uci/opciones.h"
#include "uci/opciones_actuales.h"

namespace {

[[noreturn]] void fallar(const std::string& texto, const std::string& que) {
    std::fprintf(stderr, "\nargumentos \"%s\": %s\n", texto.c_str(), que.c_str());
    std::abort();
}

ConsolaEnProceso& consola() {
    static ConsolaEnProceso* c = new ConsolaEnProceso();
    return *c;
}

void probarGo(const std::string& texto) {
    const std::vector<std::string> palabras = dividirPalabras(texto, " ");
    ControlTiempo control(nullptr), otra(nullptr);
    control.leerPalabras(palabras);
    otra.wtime = otra.btime = otra.winc = otra.binc = otra.movetime = otra.movestogo = 12345;
    otra.depth = -7;
    otra.infinite = true;
    otra.leerPalabras(palabras);
    if (otra.wtime != control.wtime || otra.btime != control.btime || otra.winc != control.winc ||
        otra.binc != control.binc || otra.movetime != control.movetime ||
        otra.movestogo != control.movestogo || otra.depth != control.depth ||
        otra.infinite != control.infinite)
        fallar(texto, "lectura distinta tras otra");
    constexpr uint32_t Maximo = std::numeric_limits<int32_t>::max();
    for (uint32_t valor : {control.wtime, control.btime, control.winc, control.binc,
                           control.movetime, control.movestogo})
        if (valor > Maximo) fallar(texto, "valor negativo guardado: " + std::to_string(valor));
    for (int bando : {Blanco, Negro}) {
        const uint64_t reloj = bando == Blanco ? control.wtime : control.btime;
        const uint64_t incremento = bando == Blanco ? control.winc : control.binc;
        const uint64_t tope = control.movetime != 0 ? control.movetime : reloj + incremento;
        const uint32_t tiempo = control.tiempoAsignado(bando);
        if (tiempo > tope) fallar(texto, "presupuesto " + std::to_string(tiempo));
    }
}

// Options whose change is cheap run through the console; the table size and its clearing are
// tried on copies of theirs whose change only records the value handed over.
void probarSetoption(const std::string& texto) {
    const std::string nombre = nombreOpcion(texto);
    const std::string valor = valorOpcion(texto);
    if (texto.find(nombre) == std::string::npos || texto.find(valor) == std::string::npos)
        fallar(texto, "nombre o valor fuera del texto");
    ConsolaEnProceso& c = consola();
    for (OpcionUCI* opcion : c.opciones) {
        if (opcion->nombre != nombre) continue;
        auto* spin = dynamic_cast<OpcionUCISpin*>(opcion);
        if (spin == nullptr && opcion->nombre != "Clear Hash") {
            c.enviar("setoption " + texto);
            auto* check = dynamic_cast<OpcionUCICheck*>(opcion);
            if (check != nullptr && check->valor != (valor == "true"))
                fallar(texto, "casilla " + boolATexto(check->valor));
            return;
        }
        const std::string sinCambio = "\x01";
        opcionesActuales.textoAcercaDe = sinCambio;
        if (spin == nullptr) {
            OpcionUCIButton(nombre, &c, &ConsolaUCI::cambiarAcercaDe).asignar(valor);
            if (opcionesActuales.textoAcercaDe != valor) fallar(texto, "boton sin efecto");
            return;
        }
        OpcionUCISpin copia(nombre, &c, &ConsolaUCI::cambiarAcercaDe, spin->maximo, spin->minimo,
                            spin->valor);
        copia.asignar(valor);
        const bool cambiada = opcionesActuales.textoAcercaDe != sinCambio;
        const int32_t leido = textoAEntero(valor);
        if (cambiada != (leido >= spin->minimo && leido <= spin->maximo))
            fallar(texto, "rango de " + nombre);
        if (copia.valor != (cambiada ? leido : spin->valor)) fallar(texto, "valor de " + nombre);
        if (cambiada && opcionesActuales.textoAcercaDe != valor)
            fallar(texto, "texto entregado a " + nombre);
        return;
    }
}

// A console line ends at its first line feed.
void probarPosition(const std::string& todo) {
    const std::string texto = todo.substr(0, todo.find('\n'));
    ConsolaEnProceso& c = consola();
    const Tablero& t = *c.motor->tablero;
    for (const std::string& linea : c.enviar("position " + texto)) {
        const std::string::size_type dosPuntos = linea.find(": ");
        const std::string mensaje = linea.substr(0, dosPuntos + 2);
        if (dosPuntos == std::string::npos ||
            (mensaje != "Movimiento erroneo: " && mensaje != "Historial lleno: ") ||
            texto.find(linea.substr(dosPuntos + 2)) == std::string::npos)
            fallar(texto, "imprime \"" + linea + "\"");
    }
    // Set-up alone keeps a known one of several kings.
    const std::string fallo = t.numHistorial == 0 ? inconsistencia(t) : inconsistenciaSinReyes(t);
    if (!fallo.empty()) fallar(texto, fallo);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    consola();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    if (tamano == 0) return 0;
    const std::string texto(reinterpret_cast<const char*>(datos) + 1, tamano - 1);
    switch (datos[0] % 3) {
    case 0:
        probarGo(texto);
        break;
    case 1:
        probarSetoption(texto);
        break;
    default:
        probarPosition(texto);
        break;
    }
    return 0;
}
