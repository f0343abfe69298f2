#pragma once

#include <cstdint>
#include <string>
#include <utility>

class ConsolaUCI;

// The option name and the value text that the argument text of a "setoption" line gives.
std::string nombreOpcion(const std::string& argumentos);
std::string valorOpcion(const std::string& argumentos);

// An engine option as the interface sees it; an accepted change is applied to the engine
// through a member operation of the console.
class OpcionUCI {
  public:
    using Cambio = void (ConsolaUCI::*)(const std::string&);

    OpcionUCI(std::string nombre, ConsolaUCI* consola, Cambio alCambiar)
        : nombre(std::move(nombre)), consola(consola), alCambiar(alCambiar) {}
    virtual ~OpcionUCI() = default;

    // Prints the option's whole "option" line.
    virtual void imprimir() const = 0;
    virtual void asignar(const std::string& texto) = 0;

    std::string nombre;
    ConsolaUCI* consola;
    Cambio alCambiar;

  protected:
    // The start that every option's line shares.
    std::string encabezado() const { return "option name " + nombre + " type "; }
    void aplicar(const std::string& texto) const;
};

class OpcionUCIButton : public OpcionUCI {
  public:
    using OpcionUCI::OpcionUCI;
    void imprimir() const override;
    void asignar(const std::string& texto) override;
};

class OpcionUCIString : public OpcionUCI {
  public:
    OpcionUCIString(std::string nombre, ConsolaUCI* consola, Cambio alCambiar, std::string valor)
        : OpcionUCI(std::move(nombre), consola, alCambiar), valor(std::move(valor)) {}
    void imprimir() const override;
    void asignar(const std::string& texto) override;

    std::string valor;
};

class OpcionUCICheck : public OpcionUCI {
  public:
    OpcionUCICheck(std::string nombre, ConsolaUCI* consola, Cambio alCambiar, bool valor)
        : OpcionUCI(std::move(nombre), consola, alCambiar), valor(valor) {}
    void imprimir() const override;
    void asignar(const std::string& texto) override;

    bool valor;
};

class OpcionUCISpin : public OpcionUCI {
  public:
    OpcionUCISpin(std::string nombre, ConsolaUCI* consola, Cambio alCambiar, int32_t maximo,
                  int32_t minimo, int32_t valor)
        : OpcionUCI(std::move(nombre), consola, alCambiar), maximo(maximo), minimo(minimo),
          valor(valor) {}
    void imprimir() const override;
    void asignar(const std::string& texto) override;

    int32_t maximo;
    int32_t minimo;
    int32_t valor;
};
