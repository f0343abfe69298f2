#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

// Thousands of lines of valid and invalid commands through the real binary, in batches. Each
// batch ends with "eval": lines that arrive during a search wait for its end and then run in
// order, so the "Eval: " line shows that everything sent before it has been executed.
namespace {

constexpr int LineasObjetivo = 10000;
constexpr int LineasStartUp = 10;
constexpr std::size_t PliesMaximosPartida = 240;

const char* const PalabrasComando[] = {
    "quit", "ucinewgame", "uci",           "isready",   "position",  "go",
    "stop", "setoption",  "tablero",       "bitboards", "listamovs", "eval",
    "move", "see",        "position_test", "perft",     "divide"};

class Azar {
  public:
    explicit Azar(uint64_t semilla) : motor(semilla) {}
    // Uniform enough for test data, and the same on every standard library.
    uint32_t hasta(uint32_t n) { return static_cast<uint32_t>(motor() % n); }
    bool moneda(uint32_t veces = 2) { return hasta(veces) == 0; }
    char de(const std::string& letras) {
        return letras[hasta(static_cast<uint32_t>(letras.size()))];
    }

  private:
    std::mt19937_64 motor;
};

std::string casilla(Azar& azar) {
    return std::string(1, static_cast<char>('a' + azar.hasta(8))) +
           static_cast<char>('1' + azar.hasta(8));
}

std::string numero(Azar& azar) {
    switch (azar.hasta(5)) {
    case 0:
        return "-" + std::to_string(azar.hasta(100000));
    case 1:
        return "99999999999999";
    case 2:
        return "x" + std::to_string(azar.hasta(9));
    default:
        return std::to_string(azar.hasta(200));
    }
}

// Either loose placement text (ranks of any length, any count, stray characters) or a board of
// pieces on random squares, kings included or not, and random state fields.
std::string fenAleatoria(Azar& azar) {
    std::string colocacion;
    if (azar.moneda()) {
        const uint32_t filas = 1 + azar.hasta(10);
        for (uint32_t f = 0; f < filas; ++f) {
            if (f > 0) colocacion += '/';
            const uint32_t largo = azar.hasta(11);
            for (uint32_t i = 0; i < largo; ++i) colocacion += azar.de("pnbrqkPNBRQK12345678x0/9");
        }
    } else {
        char casillas[64];
        for (char& c : casillas) c = '.';
        casillas[azar.hasta(64)] = 'K';
        casillas[azar.hasta(64)] = 'k';
        const uint32_t piezas = azar.hasta(30);
        for (uint32_t i = 0; i < piezas; ++i) casillas[azar.hasta(64)] = azar.de("pnbrqPNBRQ");
        for (int fila = 7; fila >= 0; --fila) {
            int vacias = 0;
            for (int columna = 0; columna < 8; ++columna) {
                const char c = casillas[fila * 8 + columna];
                if (c == '.') {
                    ++vacias;
                    continue;
                }
                if (vacias > 0) colocacion += static_cast<char>('0' + vacias);
                vacias = 0;
                colocacion += c;
            }
            if (vacias > 0) colocacion += static_cast<char>('0' + vacias);
            if (fila > 0) colocacion += '/';
        }
    }
    std::vector<std::string> campos = {colocacion};
    campos.push_back(azar.moneda(5) ? "W" : (azar.moneda() ? "w" : "b"));
    std::string enroque;
    for (const char c : std::string("KQkqx")) {
        if (azar.moneda()) enroque += c;
    }
    campos.push_back(enroque.empty() ? "-" : enroque);
    switch (azar.hasta(4)) {
    case 0:
        campos.push_back(casilla(azar));
        break;
    case 1:
        campos.push_back(std::string(1, azar.de("z9-E")) + azar.de("0a9"));
        break;
    default:
        campos.push_back("-");
    }
    campos.push_back(numero(azar));
    campos.push_back(numero(azar));
    campos.resize(1 + azar.hasta(6));
    std::string fen;
    for (const std::string& c : campos) fen += (fen.empty() ? "" : " ") + c;
    return fen;
}

std::string palabraMovimiento(Azar& azar) {
    static const char* const Conocidas[] = {"e2e4",  "d7d5",  "g1f3", "e7e8q", "e1g1", "e8c8",
                                            "a7a8n", "b2b1r", "E2E4", "e2e4 ", "0000", "xxxx"};
    switch (azar.hasta(4)) {
    case 0:
        return Conocidas[azar.hasta(sizeof Conocidas / sizeof *Conocidas)];
    case 1: {
        std::string texto;
        const uint32_t largo = 1 + azar.hasta(7);
        for (uint32_t i = 0; i < largo; ++i) texto += azar.de("abcdefgh12345678qrbnkz9");
        return texto;
    }
    default: {
        std::string texto = casilla(azar) + casilla(azar);
        if (azar.moneda(4)) texto += azar.de("qrbnkQ");
        return texto;
    }
    }
}

std::string movimientos(Azar& azar) {
    std::string texto;
    const uint32_t cuantos = azar.hasta(6);
    for (uint32_t i = 0; i < cuantos; ++i) texto += " " + palabraMovimiento(azar);
    return texto;
}

bool esComando(const std::string& linea) {
    const std::string palabra = linea.substr(0, linea.find(' '));
    for (const char* c : PalabrasComando) {
        if (palabra == c) return true;
    }
    return false;
}

std::string basura(Azar& azar) {
    for (;;) {
        std::string texto;
        const uint32_t largo = azar.hasta(60);
        for (uint32_t i = 0; i < largo; ++i) {
            texto += azar.moneda(8) ? static_cast<char>(1 + azar.hasta(126))
                                    : azar.de("abcdefghijklmnopqrstuvwxyz  0123456789-/\t");
        }
        if (texto.find('\n') != std::string::npos || (!texto.empty() && texto.back() == '\r'))
            continue;
        if (!esComando(texto)) return texto;
    }
}

struct Lote {
    std::vector<std::string> lineas;
    int busquedas = 0;
    int preguntas = 0;
    bool conPartida = false;
};

void agregarAleatoria(Azar& azar, Lote& lote) {
    std::string linea;
    switch (azar.hasta(20)) {
    case 0:
    case 1:
    case 2:
        linea = "position fen " + fenAleatoria(azar) + (azar.moneda() ? " moves" : "") +
                movimientos(azar);
        break;
    case 3:
        linea =
            "position startpos" + std::string(azar.moneda() ? " moves" : "") + movimientos(azar);
        break;
    case 4:
    case 5:
        linea = "go depth 2";
        ++lote.busquedas;
        break;
    case 6:
        linea = "isready";
        ++lote.preguntas;
        break;
    case 7:
        linea = "stop";
        break;
    case 8:
        linea = "ucinewgame";
        break;
    case 9:
        linea = "setoption name Hash value " + std::to_string(azar.hasta(10));
        break;
    case 10:
        linea = "move " + palabraMovimiento(azar);
        break;
    case 11:
        linea = "see " + palabraMovimiento(azar);
        break;
    case 12:
        linea = std::string(azar.moneda() ? "perft " : "divide ") + std::to_string(azar.hasta(3));
        break;
    case 13:
        linea = azar.moneda() ? "tablero" : (azar.moneda() ? "listamovs" : "bitboards");
        break;
    case 14:
        linea = "position_test " + std::to_string(azar.hasta(8));
        break;
    case 15:
        linea = azar.moneda() ? "uci"
                              : "setoption name Resumen Busqueda value " +
                                    std::string(azar.moneda() ? "true" : "false");
        break;
    default:
        linea = basura(azar);
    }
    lote.lineas.push_back(linea);
}

std::string unirPartida(const std::vector<std::string>& partida) {
    std::string texto = "position startpos moves";
    for (const std::string& m : partida) texto += " " + m;
    return texto;
}

bool esJugadaValida(const std::string& m) {
    if (m == "xxxx") return true;
    if (m.size() != 4 && m.size() != 5) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const char minimo = i % 2 == 0 ? 'a' : '1';
        if (m[i] < minimo || m[i] > minimo + 7) return false;
    }
    return m.size() == 4 || std::string("qrbn").find(m[4]) != std::string::npos;
}

TEST(Resistencia, MilesDeLineasMezcladasSinCaidaNiBloqueo) {
    Proceso motor;
    ASSERT_TRUE(motor.iniciado());
    for (int i = 0; i < LineasStartUp; ++i) ASSERT_TRUE(motor.leerLinea()) << "start-up line " << i;

    Azar azar(20240611);
    std::vector<std::string> partida;
    int enviadas = 0;
    int lotes = 0;
    bool historialProbado = false;
    while (enviadas < LineasObjetivo) {
        Lote lote;
        // The engine plays itself now and then: real games with a growing move list.
        if (azar.moneda(3)) {
            lote.lineas = {unirPartida(partida), "go depth 2"};
            lote.busquedas = 1;
            lote.conPartida = true;
        } else if (azar.moneda(25)) {
            // Only at the start of a batch is the engine idle, so "stop" reaches this search.
            lote.lineas = {"go infinite", "stop"};
            lote.busquedas = 1;
        }
        if (!historialProbado && enviadas > LineasObjetivo / 2) {
            // More moves than the history keeps: the engine refuses the excess and goes on.
            std::vector<std::string> vaiven;
            for (int i = 0; i < 240; ++i)
                vaiven.insert(vaiven.end(), {"g1f3", "g8f6", "f3g1", "f6g8"});
            lote.lineas.push_back(unirPartida(vaiven));
            lote.lineas.push_back("go depth 2");
            lote.lineas.push_back("move e2e4");
            ++lote.busquedas;
            historialProbado = true;
        }
        const uint32_t extra = 4 + azar.hasta(14);
        for (uint32_t i = 0; i < extra; ++i) agregarAleatoria(azar, lote);
        lote.lineas.push_back("eval");

        for (const std::string& l : lote.lineas) ASSERT_TRUE(motor.escribirLinea(l)) << l;
        enviadas += static_cast<int>(lote.lineas.size());
        ++lotes;

        std::vector<std::string> leidas;
        const auto fin =
            motor.leerHasta([](const std::string& l) { return l.rfind("Eval: ", 0) == 0; },
                            Proceso::plazoPorDefecto(), &leidas);
        ASSERT_TRUE(fin) << "batch " << lotes << " not finished; last line sent: "
                         << lote.lineas[lote.lineas.size() - 2];

        int respuestas = 0;
        int listos = 0;
        std::string primera;
        for (const std::string& l : leidas) {
            if (l == "readyok") ++listos;
            if (l.rfind("bestmove ", 0) != 0) continue;
            const std::string jugada = l.substr(9);
            EXPECT_TRUE(esJugadaValida(jugada)) << l;
            if (respuestas++ == 0) primera = jugada;
        }
        ASSERT_EQ(respuestas, lote.busquedas) << "batch " << lotes;
        ASSERT_EQ(listos, lote.preguntas) << "batch " << lotes;
        if (lote.conPartida) {
            if (primera == "xxxx" || partida.size() >= PliesMaximosPartida)
                partida.clear();
            else
                partida.push_back(primera);
        }
    }
    EXPECT_TRUE(historialProbado);
    EXPECT_GE(enviadas, LineasObjetivo);

    ASSERT_TRUE(motor.escribirLinea("isready"));
    const auto listo = motor.leerHasta([](const std::string& l) { return l == "readyok"; });
    ASSERT_TRUE(listo) << "no readyok after " << enviadas << " lines";
    ASSERT_TRUE(motor.escribirLinea("quit"));
    std::vector<std::string> resto;
    EXPECT_TRUE(motor.leerHastaFin(resto));
    EXPECT_EQ(motor.esperarFin(), 0);
    std::cout << "[          ] " << enviadas << " lines in " << lotes << " batches\n";
}

} // namespace
