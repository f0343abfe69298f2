#pragma once

constexpr const char* TextoVersion = "0.11 BETA";

// Build date in the compiler's form, e.g. "Dec  5 2026".
constexpr const char* FechaCompilacion = __DATE__;
