#pragma once

#include <iostream>
#include <streambuf>
#include <string>

// Every piece of the engine's output leaves whole and is flushed at once, so that the interface
// never reads part of a line.
inline void escribir(const std::string& texto) {
    std::cout << texto << std::flush;
}

inline void escribirLinea(const std::string& linea) {
    escribir(linea + '\n');
}

// The line of hyphens that frames the start-up banner and closes the option values below it.
inline void escribirGuiones() {
    constexpr std::string::size_type AnchoGuiones = 64;
    escribirLinea(std::string(AnchoGuiones, '-'));
}

// Swallows everything written to it.
struct BufferNulo : std::streambuf {
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Standard output goes nowhere while an object lives: the banner, info lines and summaries of an
// engine that is only measured.
class SalidaSilenciada {
  public:
    SalidaSilenciada() : anterior(std::cout.rdbuf(&nulo)) {}
    SalidaSilenciada(const SalidaSilenciada&) = delete;
    SalidaSilenciada& operator=(const SalidaSilenciada&) = delete;
    ~SalidaSilenciada() { std::cout.rdbuf(anterior); }

  private:
    BufferNulo nulo;
    std::streambuf* anterior;
};
