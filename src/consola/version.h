#pragma once

#include <string>

constexpr const char* TextoVersion = "0.11 BETA";
constexpr const char* AutorMotor = "Ostrikel";

// Build date in the compiler's form, e.g. "Dec  5 2026".
constexpr const char* FechaCompilacion = __DATE__;

// The engine's name with its version, as the interface is told it.
inline std::string nombreMotor() {
    return std::string("Quorvantel Alpha [") + TextoVersion + "]";
}
