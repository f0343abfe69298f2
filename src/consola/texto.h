#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text up to, not including, the first blank; empty when the text starts with a blank.
std::string primeraPalabra(const std::string& texto);

// The maximal runs of characters not in the delimiter set, in order; no empty words.
std::vector<std::string> dividirPalabras(const std::string& texto,
                                         const std::string& delimitadores);

// Reads the decimal integer at the start of the text (leading white space, optional sign,
// digits) into `valor`; false, with `valor` untouched, when there is none or it does not fit.
bool leerEntero(const std::string& texto, int32_t& valor);

// The decimal integer at the start of the text, or 0 when there is none that fits.
int32_t textoAEntero(const std::string& texto);

// "true" or "false".
std::string boolATexto(bool valor);
