#include "uci/opciones.h"

#include "consola/consola_uci.h"
#include "consola/salida.h"
#include "consola/texto.h"

void OpcionUCI::aplicar(const std::string& texto) const {
    (consola->*alCambiar)(texto);
}

void OpcionUCIButton::imprimir() const {
    escribirLinea(encabezado() + "button");
}

void OpcionUCIButton::asignar(const std::string& texto) {
    aplicar(texto);
}

void OpcionUCIString::imprimir() const {
    escribirLinea(encabezado() + "string default " + valor);
}

void OpcionUCIString::asignar(const std::string& texto) {
    valor = texto;
    aplicar(texto);
}

void OpcionUCICheck::imprimir() const {
    escribirLinea(encabezado() + "check default " + boolATexto(valor));
}

void OpcionUCICheck::asignar(const std::string& texto) {
    valor = texto == "true";
    aplicar(texto);
}

void OpcionUCISpin::imprimir() const {
    escribirLinea(encabezado() + "spin default " + std::to_string(valor) + " min " +
                  std::to_string(minimo) + " max " + std::to_string(maximo));
}

void OpcionUCISpin::asignar(const std::string& texto) {
    const int32_t n = textoAEntero(texto);
    if (n < minimo || n > maximo) return;
    valor = n;
    aplicar(texto);
}
