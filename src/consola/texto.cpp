#include "consola/texto.h"

#include <sstream>

std::string primeraPalabra(const std::string& texto) {
    return texto.substr(0, texto.find(' '));
}

std::vector<std::string> dividirPalabras(const std::string& texto,
                                         const std::string& delimitadores) {
    std::vector<std::string> palabras;
    std::string::size_type inicio = texto.find_first_not_of(delimitadores);
    while (inicio != std::string::npos) {
        const std::string::size_type fin = texto.find_first_of(delimitadores, inicio);
        palabras.push_back(texto.substr(inicio, fin - inicio));
        if (fin == std::string::npos) break;
        inicio = texto.find_first_not_of(delimitadores, fin);
    }
    return palabras;
}

bool leerEntero(const std::string& texto, int32_t& valor) {
    std::istringstream entrada(texto);
    int32_t leido = 0;
    if (!(entrada >> leido)) return false;
    valor = leido;
    return true;
}

// Callers see one fixed value for text they cannot use.
int32_t textoAEntero(const std::string& texto) {
    int32_t valor = 0;
    leerEntero(texto, valor);
    return valor;
}

std::string boolATexto(bool valor) {
    return valor ? "true" : "false";
}
