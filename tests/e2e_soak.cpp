#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <random>
#include <string>

#include "apoyo/uci.h"

// Thousands of lines of valid and invalid commands through the real binary, in batches. Each
// batch ends with "eval": lines that arrive during a search wait for its end and then run in
// order, so the "Eval: " line shows that everything sent before it has been executed.
namespace {

// Holes: %F a position text, %M a list of moves, %W one move, %Q a square, %N any number, %D a
// depth and %T a time that keep a search short, %L the limits of a search, %P a test position, %B a
// truth value, %G a line that names no command. Every "go" with words searches once; without a
// depth a search ends at its first look at the clock.
const Lineas Plantillas = lineasDe(
    "position fen %F%M\nposition fen %F moves%M\nposition fen %F moves%M\nposition startpos%M\n"
    "position startpos moves%M\ngo depth %D\ngo %L\ngo\nisready\nstop\nucinewgame\nuci\n"
    "setoption name Hash value %D\nsetoption name Clear Hash\nmove %W\nsee %W\nperft %D\n"
    "divide %D\nsetoption name Resumen Busqueda value %B\ntablero\nlistamovs\nbitboards\n"
    "position_test %P\n%G\n%G\n%G\n");
// What may follow the placement of a position text: from nothing to every field, right or wrong.
const Lineas Campos = lineasDe("\n w\n b -\n w KQkq -\n b Kq e3 %N\n W kx z9 %N %N\n w - - %N %N\n"
                               " b KQkqx %Q 0 1\n w Qk %Q %N\n");
// Well-formed moves, mostly illegal where they are played, and words that name no move.
const Lineas Jugadas =
    lineasDe("e2e4\ng1f3\ne1g1\ne8c8\nE2E4\n0000\nxxxx\ne2\ne7e8qq\na9b0\ne2e4e5\nzz9\n"
             "b7b8k\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Q\n%Q%Qq\n%Q%Qn\n"
             "%Q%Qr\n%Q%Qb\n%Q%QQ\n");
const Lineas Listas = lineasDe("\n %W\n %W %W\n %W %W %W\n %W %W %W %W %W\n");
const Lineas Limites =
    lineasDe("movetime %T\nwtime %T btime %T winc %T binc %T movestogo %N\nnodes %N mate %N\n"
             "infinite depth 2 searchmoves %W\nponder depth %D\n");

class Azar {
  public:
    explicit Azar(uint64_t semilla) : motor(semilla) {}
    // Uniform enough for test data, and the same on every standard library.
    uint32_t hasta(uint32_t n) { return static_cast<uint32_t>(motor() % n); }
    bool moneda(uint32_t veces = 2) { return hasta(veces) == 0; }
    char de(const std::string& letras) {
        return letras[hasta(static_cast<uint32_t>(letras.size()))];
    }
    std::string numero(uint32_t tope) {
        const std::string raros[] = {"-" + std::to_string(hasta(100000)), "99999999999999",
                                     "x" + std::to_string(hasta(9))};
        return moneda(4) ? raros[hasta(3)] : std::to_string(hasta(tope));
    }
    std::string casilla() {
        std::string texto(1, de("abcdefgh"));
        return texto + de("12345678");
    }
    // Either loose placement text (ranks of any length and count, stray characters) or a board
    // of pieces on random squares, kings included or not; then some of the other fields.
    std::string fen() {
        std::string colocacion(64, '.');
        if (moneda()) {
            colocacion.clear();
            for (uint32_t i = hasta(60); i > 0; --i) colocacion += de("pnbrqkPNBRQK12345678x0/9//");
        } else {
            colocacion[hasta(64)] = 'K';
            colocacion[hasta(64)] = 'k';
            for (uint32_t i = hasta(30); i > 0; --i) colocacion[hasta(64)] = de("pnbrqPNBRQ");
            for (int fila = 7; fila > 0; --fila) colocacion.insert(8 * fila, "/");
            // Runs of empty squares as their counts, the longest first.
            for (int n = 8; n > 0; --n)
                for (std::size_t i;
                     (i = colocacion.find(std::string(n, '.'))) != std::string::npos;)
                    colocacion.replace(i, n, std::to_string(n));
        }
        return colocacion + linea(Campos);
    }

    // A line whose first letter starts no command, so that it names none; no "\n" inside.
    std::string basura() {
        std::string texto(1, de("acfhjknorvwxyzACEGQU0123456789-/#\t "));
        for (uint32_t i = hasta(60); i > 0; --i)
            texto += moneda(8) ? static_cast<char>(11 + hasta(116))
                               : de("abcdefghijklmnopqrstuvwxyz  0123456789-/\t");
        return texto;
    }

    std::string linea(const Lineas& plantillas = Plantillas) {
        const std::string& plantilla = plantillas[hasta(static_cast<uint32_t>(plantillas.size()))];
        std::string r;
        for (std::size_t i = 0; i < plantilla.size(); ++i) {
            if (plantilla[i] != '%') {
                r += plantilla[i];
                continue;
            }
            const char c = plantilla[++i];
            r += c == 'F'   ? fen()
                 : c == 'M' ? linea(Listas)
                 : c == 'W' ? linea(Jugadas)
                 : c == 'Q' ? casilla()
                 : c == 'N' ? numero(200)
                 : c == 'D' ? numero(3)
                 : c == 'T' ? numero(4)
                 : c == 'P' ? numero(8)
                 : c == 'L' ? linea(Limites)
                 : c == 'B' ? std::string(moneda() ? "true" : (moneda() ? "false" : "False"))
                            : basura();
        }
        return r;
    }

  private:
    std::mt19937_64 motor;
};

TEST(Resistencia, MilesDeLineasMezcladasSinCaidaNiBloqueo) {
    SesionUCI sesion;
    Proceso& motor = sesion.proceso;

    Azar azar(20240611);
    Lineas partida;
    int enviadas = 0, lotes = 0;
    while (enviadas < 10000) {
        Lineas lote;
        // The engine plays itself now and then: real games with a growing move list.
        const bool conPartida = azar.moneda(3);
        if (conPartida) {
            lote = {"position startpos moves", "go depth 2"};
            for (const std::string& j : partida) lote[0] += " " + j;
        } else if (azar.moneda(25)) // Only a batch's first search is sure to meet its "stop".
            lote = {"go infinite", "stop"};
        for (uint32_t i = 4 + azar.hasta(14); i > 0; --i) lote.push_back(azar.linea());
        lote.push_back("eval");

        int busquedas = 0, preguntas = 0;
        for (const std::string& l : lote) {
            sesion.enviar(l);
            busquedas += empiezaPor(l, "go ");
            preguntas += l == "isready";
        }
        enviadas += static_cast<int>(lote.size());
        ++lotes;

        const Lineas leidas = sesion.hasta("Eval: ");
        ASSERT_FALSE(leidas.empty()) << "batch " << lotes << "; last line sent: " << lote.end()[-2];
        Lineas respuestas;
        for (const std::string& l : leidas) {
            preguntas -= l == "readyok";
            if (!empiezaPor(l, "bestmove ")) continue;
            respuestas.push_back(l.substr(9));
            EXPECT_TRUE(esJugada(respuestas.back()) || respuestas.back() == "xxxx") << l;
        }
        ASSERT_EQ(respuestas.size(), static_cast<std::size_t>(busquedas)) << "batch " << lotes;
        ASSERT_EQ(preguntas, 0) << "batch " << lotes;
        if (conPartida) {
            if (respuestas[0] == "xxxx" || partida.size() >= 240)
                partida.clear();
            else
                partida.push_back(respuestas[0]);
        }
    }

    sesion.listo();
    ASSERT_TRUE(motor.escribirLinea("quit"));
    Lineas resto;
    EXPECT_TRUE(motor.leerHastaFin(resto));
    EXPECT_EQ(motor.esperarFin(), 0);
    std::cout << "[          ] " << enviadas << " lines in " << lotes << " batches\n";
}

} // namespace
