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

int32_t textoAEntero(const std::string& texto) {
    std::istringstream entrada(texto);
    int32_t valor = 0;
    // A failed read (no number first, or one that does not fit in 32 bits) gives 0, so callers
    // always see one fixed value for text they cannot use.
    if (!(entrada >> valor)) return 0;
    return valor;
}

std::string boolATexto(bool valor) {
    return valor ? "true" : "false";
}
