#pragma once

#include <cstdint>

#include "tablero/movimiento.h"
#include "tablero/tipos.h"
#include "tablero/zobrist.h"

class Motor;

constexpr int CapacidadHistorial = 1024;

extern const int32_t ValorMaterial[NumCodigosPieza];
extern const int32_t ValorPiezas[NumCodigosPieza];
extern const int32_t CuentaPeones[NumCodigosPieza];

// White to move, no en-passant square, no castling rights, the fifty-move counter at zero: the
// state of a board, a history record or a FEN record before anything is read into it.
template <typename Registro> void ponerEstadoInicial(Registro& r) {
    r.ladoQueMueve = true;
    r.casillaAlPaso = CasillaNula;
    r.derechosEnroque = 0;
    r.movidasRegla50 = 0;
}

// The state before one made move; null moves fill only the four state fields.
struct RegistroHistorial {
    Movimiento movimiento;
    bool ladoQueMueve;
    int32_t casillaAlPaso;
    int32_t derechosEnroque;
    int32_t movidasRegla50;
    // Here, not last, it fills the gap before the key: a record stays 32 bytes.
    int32_t valorCasillas;
    uint64_t hashKey;
};

// The position: piece array, bitboards, rotated occupancies, state, key, counters, the
// piece-square sum and the history of made moves, all kept in step by make and unmake.
class Tablero {
  public:
    explicit Tablero(Motor* motor);
    Tablero(const Tablero& otro) = default;
    Tablero& operator=(const Tablero& otro) = default;

    void limpiar();
    void recalcularDerivados();

    static Bitboard aRotado90(Bitboard bb);
    static Bitboard aRotado45(Bitboard bb);
    static Bitboard aRotado315(Bitboard bb);

    void agregarMaterial(int32_t codigo) {
        const int c = colorPieza(codigo);
        material[c] += ValorMaterial[codigo];
        valorPiezas[c] += ValorPiezas[codigo];
        totalPeones[c] += CuentaPeones[codigo];
    }
    void quitarMaterial(int32_t codigo) {
        const int c = colorPieza(codigo);
        material[c] -= ValorMaterial[codigo];
        valorPiezas[c] -= ValorPiezas[codigo];
        totalPeones[c] -= CuentaPeones[codigo];
    }

    void hacerMovimiento(Movimiento m);
    // The key after a move of `pieza` between two squares, before whatever the move captures,
    // promotes or changes in the castling rights and the en-passant square: make starts from it.
    uint64_t claveTrasMovida(int32_t pieza, Casilla desde, Casilla hasta) const {
        return ~hashKey ^ ZobristAlPaso[casillaAlPaso] ^ ZobristPieza[pieza][desde] ^
               ZobristPieza[pieza][hasta];
    }
    // The key after m when all it changes besides is a capture on its to square, as for most
    // moves; for the rest a guess, good enough to fetch ahead the table slot of the position to
    // come.
    uint64_t clavePrevista(Movimiento m) const {
        const int32_t capturada = piezaCapturada(m);
        const Casilla hasta = hastaDe(m);
        const uint64_t captura =
            capturada != Vacio && !esAlPaso(m) ? ZobristPieza[capturada][hasta] : 0;
        return claveTrasMovida(piezaMovida(m), desdeDe(m), hasta) ^ captura;
    }
    void deshacerMovimiento();
    void hacerMovimientoNulo();
    void deshacerMovimientoNulo();

    // Colour index (0 white, 1 black) of the side to move.
    int colorQueMueve() const { return ladoQueMueve ? Blanco : Negro; }
    Bitboard ocupadas() const { return piezasBlancas | piezasNegras; }
    // The colour board of side `bando` (0 white, 1 black).
    Bitboard piezasDe(int bando) const { return bando == Blanco ? piezasBlancas : piezasNegras; }

    Motor* motor;
    int32_t piezas[64];
    bool ladoQueMueve;
    int32_t casillaAlPaso;
    int32_t derechosEnroque;
    int32_t movidasRegla50;
    uint64_t hashKey;
    int32_t material[2];
    int32_t valorPiezas[2];
    int32_t totalPeones[2];
    int32_t casillaRey[2];
    RegistroHistorial historial[CapacidadHistorial];
    // The history spans whole 4 KB pages, so without this alignment the records of the first
    // few plies would share their low twelve address bits with the boards below, and the
    // processor would hold back each board read behind the record stores of make.
    alignas(4096) int32_t numHistorial;
    Bitboard piezasBlancas;
    Bitboard piezasNegras;
    Bitboard bitboardsPieza[NumCodigosPieza];
    Bitboard Rotado90;
    Bitboard Rotado45;
    Bitboard Rotado315;
    // The piece-square part of the evaluation, from White's side: the sum of `ValorCasilla` over
    // every piece but the kings.
    int32_t valorCasillas;
};
