#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

namespace {

using Lineas = std::vector<std::string>;

// An engine past its ten start-up lines.
class Motor {
  public:
    Motor() {
        for (int i = 0; i < 10; ++i) {
            if (!proceso.leerLinea()) {
                ADD_FAILURE() << "start-up line " << i + 1 << " missing";
                return;
            }
        }
    }
    ~Motor() {
        if (proceso.escribirLinea("quit")) proceso.esperarFin();
    }

    // Everything the engine prints for the line, fenced off by an "isready" sent after it.
    Lineas salidaDe(const std::string& linea, Proceso::Plazo plazo = Proceso::plazoPorDefecto()) {
        EXPECT_TRUE(proceso.escribirLinea(linea));
        EXPECT_TRUE(proceso.escribirLinea("isready"));
        Lineas leidas;
        const auto fin = proceso.leerHasta([](const std::string& l) { return l == "readyok"; },
                                           Proceso::escalar(plazo), &leidas);
        EXPECT_TRUE(fin) << "no readyok after " << linea;
        if (fin) leidas.pop_back();
        return leidas;
    }

    Proceso proceso;
};

// The key tables drawn as the engine draws them: five rand() calls per number, seed 0xB1A7.
struct Claves {
    uint64_t pieza[14][64];
    uint64_t enroque[16];
    uint64_t alPaso[65];

    Claves() {
        std::srand(0xB1A7);
        for (auto& fila : pieza)
            for (uint64_t& k : fila) k = aleatorio();
        for (uint64_t& k : enroque) k = aleatorio();
        for (int i = 0; i < 64; ++i) alPaso[i] = aleatorio();
        alPaso[64] = 0;
    }

    static uint64_t aleatorio() {
        uint64_t r[5];
        for (uint64_t& x : r) x = static_cast<uint64_t>(std::rand());
        uint64_t x = r[4];
        for (int i = 3; i >= 0; --i) x = (x << 15) ^ (r[i] & 0x7FFF);
        return x;
    }
};

// Piece codes by letter, as the board stores them.
int codigo(char letra) {
    const std::string letras = ".PpNnBbRrQqKk";
    return static_cast<int>(letras.find(letra));
}

std::string hex(uint64_t k) {
    std::ostringstream s;
    s << std::hex << k;
    return s.str();
}

// The eight board lines of a FEN placement.
Lineas filasDeFEN(const std::string& fen) {
    Lineas filas;
    std::string fila;
    for (char c : fen.substr(0, fen.find(' '))) {
        if (c == '/') {
            filas.push_back(fila);
            fila.clear();
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            for (int i = 0; i < c - '0'; ++i) fila += ". ";
        } else {
            fila += std::string(1, c) + ' ';
        }
    }
    filas.push_back(fila);
    return filas;
}

const char* const Inicial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

uint64_t claveInicial(const Claves& z) {
    uint64_t k = 0;
    const Lineas filas = filasDeFEN(Inicial);
    for (int r = 0; r < 8; ++r)
        for (int f = 0; f < 8; ++f) {
            const int p = codigo(filas[7 - r][2 * f]);
            if (p != 0) k ^= z.pieza[p][8 * r + f];
        }
    return k ^ z.enroque[15] ^ z.alPaso[64];
}

Lineas tableroInicialEsperado(const std::string& clave) {
    Lineas l = filasDeFEN(Inicial);
    const Lineas resto = {"",
                          "Lado Que Mueve: Blancas",
                          "Casilla Al Paso: Invalida",
                          "Derechos De Enroque: KkQq",
                          "Movidas Regla 50: 0",
                          "Material Blancas: 4000",
                          "Material Negras: 4000",
                          "Total Valor Piezas Blancas: 31",
                          "Total Valor Piezas Negras: 31",
                          "Total Peones Blancos: 8",
                          "Total Peones Negros: 8",
                          "Hashkey: " + clave,
                          "En Jaque: false",
                          "Historial: "};
    l.insert(l.end(), resto.begin(), resto.end());
    return l;
}

// Where each square's bit lies in the three rotated layouts.
int indiceRotado90(int f, int r) {
    return 8 * f + (7 - r);
}
int indiceRotado45(int f, int r) {
    return 8 * ((f + r + 1) % 8) + f;
}
int indiceRotado315(int f, int r) {
    return 8 * (((r - f) % 8 + 8) % 8) + f;
}

Lineas rejilla(uint64_t bb) {
    Lineas l;
    for (int r = 7; r >= 0; --r) {
        std::string fila;
        for (int f = 0; f < 8; ++f) fila += (bb >> (8 * r + f)) & 1 ? 'x' : '.';
        l.push_back(fila);
    }
    l.push_back("");
    l.push_back("");
    return l;
}

TEST(Tablero, PosicionInicialLineaALinea) {
    const Claves z;
    const uint64_t clave = claveInicial(z);
    // The value this platform's generator gives; the computation above derives it anew.
    EXPECT_EQ(hex(clave), "8f113d65762f6de0");
    {
        Motor m;
        EXPECT_EQ(m.salidaDe("tablero"), tableroInicialEsperado(hex(clave)));
    }
    // A second run prints the same key; black to move prints its complement.
    Motor m;
    EXPECT_EQ(m.salidaDe("tablero"), tableroInicialEsperado(hex(clave)));
    const Lineas negras =
        m.salidaDe("position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_TRUE(negras.empty());
    Lineas esperada = tableroInicialEsperado(hex(~clave));
    esperada[9] = "Lado Que Mueve: Negras";
    EXPECT_EQ(m.salidaDe("tablero"), esperada);
}

TEST(Tablero, TrasE4E5) {
    const Claves z;
    Motor m;
    EXPECT_TRUE(m.salidaDe("position startpos moves e2e4 e7e5").empty());
    const int P = codigo('P'), p = codigo('p');
    // e2 = 12, e4 = 28, e7 = 52, e5 = 36; no en-passant square with no pawn beside e5.
    const uint64_t clave =
        claveInicial(z) ^ z.pieza[P][12] ^ z.pieza[P][28] ^ z.pieza[p][52] ^ z.pieza[p][36];
    Lineas esperada = tableroInicialEsperado(hex(clave));
    esperada[1] = "p p p p . p p p ";
    esperada[3] = ". . . . p . . . ";
    esperada[4] = ". . . . P . . . ";
    esperada[6] = "P P P P . P P P ";
    esperada[21] = "Historial: e2e4 e7e5 ";
    EXPECT_EQ(m.salidaDe("tablero"), esperada);
}

TEST(Bitboards, PosicionInicial) {
    uint64_t ocupadas = 0, r90 = 0, r45 = 0, r315 = 0;
    for (int r : {0, 1, 6, 7})
        for (int f = 0; f < 8; ++f) {
            ocupadas |= 1ull << (8 * r + f);
            r90 |= 1ull << indiceRotado90(f, r);
            r45 |= 1ull << indiceRotado45(f, r);
            r315 |= 1ull << indiceRotado315(f, r);
        }
    EXPECT_EQ(r90, 0xC3C3C3C3C3C3C3C3ull);
    auto casilla = [](const char* n) { return 1ull << (8 * (n[1] - '1') + (n[0] - 'a')); };
    auto casillas = [&](std::initializer_list<const char*> ns) {
        uint64_t bb = 0;
        for (const char* n : ns) bb |= casilla(n);
        return bb;
    };
    const std::pair<const char*, uint64_t> entradas[] = {
        {"Ocupadas", ocupadas},
        {"Rotado90", r90},
        {"Rotado45", r45},
        {"Rotado315", r315},
        {"piezasBlancas", 0xFFFFull},
        {"piezasNegras", 0xFFFFull << 48},
        {"PeonesB", 0xFF00ull},
        {"PeonesN", 0xFFull << 48},
        {"CaballosB", casillas({"b1", "g1"})},
        {"CaballosN", casillas({"b8", "g8"})},
        {"AlfilesB", casillas({"c1", "f1"})},
        {"AlfilesN", casillas({"c8", "f8"})},
        {"TorresB", casillas({"a1", "h1"})},
        {"TorresN", casillas({"a8", "h8"})},
        {"DamasB", casilla("d1")},
        {"DamasN", casilla("d8")},
        {"ReyesB", casilla("e1")},
        {"ReyesN", casilla("e8")},
    };
    Lineas esperada;
    for (const auto& e : entradas) {
        esperada.push_back(e.first);
        const Lineas r = rejilla(e.second);
        esperada.insert(esperada.end(), r.begin(), r.end());
    }
    esperada.push_back("");
    ASSERT_EQ(esperada.size(), 199u);
    EXPECT_EQ(esperada[1], "xxxxxxxx");
    EXPECT_EQ(esperada[13], "xx....xx");
    EXPECT_EQ(esperada[23], "x....xxx");

    Motor m;
    EXPECT_EQ(m.salidaDe("bitboards"), esperada);
}

TEST(ListaMovimientos, InicialYSinJugadas) {
    Motor m;
    EXPECT_EQ(m.salidaDe("listamovs"),
              (Lineas{"b1a3 b1c3 g1f3 g1h3 a2a3 b2b3 c2c3 d2d3 e2e3 f2f3 g2g3 h2h3 a2a4 b2b4 "
                      "c2c4 d2d4 e2e4 f2f4 g2g4 h2h4 ",
                      "Total Movimientos: 20", ""}));
    // Stalemate: the king on h8 has no square and is not attacked.
    m.salidaDe("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(m.salidaDe("listamovs"), (Lineas{"", "Total Movimientos: 0", ""}));
    const Lineas perft = m.salidaDe("perft 1");
    ASSERT_GE(perft.size(), 2u);
    EXPECT_EQ(perft[0], "Perft(1) = 0");
    const Lineas divide = m.salidaDe("divide 3");
    ASSERT_EQ(divide.size(), 3u);
    EXPECT_EQ(divide[0], "Perft Divide(3) = 0");
    EXPECT_EQ(divide[1], "Movimientos: 0");
    // Mate: nothing legal either, and the side to move is in check.
    m.salidaDe("position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(m.salidaDe("listamovs"), (Lineas{"", "Total Movimientos: 0", ""}));
    EXPECT_EQ(m.salidaDe("tablero").at(20), "En Jaque: true");
}

// "Transcurrido: <seconds> seg." with the seconds in the stream's default form; returns them.
double segundosDe(const std::string& linea) {
    const std::string etiqueta = "Transcurrido: ", fin = " seg.";
    EXPECT_EQ(linea.rfind(etiqueta, 0), 0u) << linea;
    EXPECT_GT(linea.size(), etiqueta.size() + fin.size()) << linea;
    if (linea.size() <= etiqueta.size() + fin.size()) return -1;
    EXPECT_EQ(linea.substr(linea.size() - fin.size()), fin) << linea;
    const std::string numero =
        linea.substr(etiqueta.size(), linea.size() - etiqueta.size() - fin.size());
    // Whole milliseconds over a thousand: at most three decimals, none of them a trailing zero.
    const std::size_t punto = numero.find('.');
    if (punto != std::string::npos) {
        EXPECT_LE(numero.size() - punto - 1, 3u) << numero;
        EXPECT_NE(numero.back(), '0') << numero;
    }
    for (char c : numero) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || c == '.');
    const double segundos = std::strtod(numero.c_str(), nullptr);
    std::ostringstream s;
    s << segundos;
    EXPECT_EQ(s.str(), numero);
    return segundos;
}

// Checks the lines of a "perft" and returns its count.
uint64_t cuentaPerft(const Lineas& lineas, int profundidad) {
    const std::string etiqueta = "Perft(" + std::to_string(profundidad) + ") = ";
    EXPECT_TRUE(lineas.size() == 2 || lineas.size() == 3) << lineas.size() << " lines";
    if (lineas.size() < 2) return 0;
    EXPECT_EQ(lineas[0].rfind(etiqueta, 0), 0u) << lineas[0];
    const uint64_t nodos = std::stoull(lineas[0].substr(etiqueta.size()));
    EXPECT_EQ(etiqueta + std::to_string(nodos), lineas[0]);
    const double segundos = segundosDe(lineas[1]);
    if (segundos == 0) {
        EXPECT_EQ(lineas.size(), 2u) << "NPS line after no time at all";
    } else if (lineas.size() == 3) {
        EXPECT_EQ(lineas[2], "NPS: " + std::to_string(static_cast<uint64_t>(
                                           static_cast<double>(nodos) / segundos)));
    } else {
        ADD_FAILURE() << "NPS line missing";
    }
    return nodos;
}

TEST(Perft, PosicionesDePrueba) {
    Motor m;
    struct Caso {
        int prueba;
        int profundidad;
        uint64_t nodos;
    };
    const Caso casos[] = {
        {1, 1, 48},       {1, 2, 2039},   {1, 4, 4085603},  {2, 2, 279},    {3, 4, 67197},
        {3, 6, 38633283}, {4, 4, 351806}, {4, 5, 11139762}, {5, 5, 674624}, {5, 6, 11030083},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE("test " + std::to_string(c.prueba) + " depth " +
                     std::to_string(c.profundidad));
        m.salidaDe("position_test " + std::to_string(c.prueba));
        const Lineas lineas =
            m.salidaDe("perft " + std::to_string(c.profundidad), Proceso::Plazo(30000));
        EXPECT_EQ(cuentaPerft(lineas, c.profundidad), c.nodos);
    }
    // Counting leaves the position as it was.
    EXPECT_EQ(m.salidaDe("tablero").at(21), "Historial: ");
    EXPECT_EQ(m.salidaDe("tablero").at(9), "Lado Que Mueve: Blancas");
}

TEST(Perft, InicialYFormaDeLaSalida) {
    Motor m;
    EXPECT_EQ(cuentaPerft(m.salidaDe("perft 1"), 1), 20u);
    EXPECT_EQ(cuentaPerft(m.salidaDe("perft 3"), 3), 8902u);
    EXPECT_EQ(cuentaPerft(m.salidaDe("perft  4"), 4), 197281u);
    EXPECT_EQ(cuentaPerft(m.salidaDe("perft 2 y mas"), 2), 400u);
}

TEST(Divide, FormaYSumas) {
    Motor m;
    const Lineas lineas = m.salidaDe("divide 2");
    ASSERT_EQ(lineas.size(), 23u);
    const char* jugadas[] = {"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "b2b3", "c2c3",
                             "d2d3", "e2e3", "f2f3", "g2g3", "h2h3", "a2a4", "b2b4",
                             "c2c4", "d2d4", "e2e4", "f2f4", "g2g4", "h2h4"};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(lineas[i], "[" + std::string(jugadas[i]) + "] = 20");
    EXPECT_EQ(lineas[20], "Perft Divide(2) = 400");
    EXPECT_EQ(lineas[21], "Movimientos: 20");
    segundosDe(lineas[22]);

    // Depth 1: every legal move counts one.
    m.salidaDe("position_test 2");
    const Lineas uno = m.salidaDe("divide 1");
    ASSERT_EQ(uno.size(), 53u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(uno[i].front(), '[');
        EXPECT_EQ(uno[i].substr(uno[i].size() - 5), "] = 1") << uno[i];
    }
    EXPECT_EQ(uno[0], "[f4e3] = 1");
    EXPECT_EQ(uno[50], "Perft Divide(1) = 50");
    EXPECT_EQ(uno[51], "Movimientos: 50");
    segundosDe(uno[52]);

    // The parts add up to the total and to "perft" of the same depth.
    m.salidaDe("position_test 1");
    const Lineas tres = m.salidaDe("divide 3");
    ASSERT_EQ(tres.size(), 51u);
    uint64_t suma = 0;
    for (int i = 0; i < 48; ++i) suma += std::stoull(tres[i].substr(tres[i].find("] = ") + 4));
    EXPECT_EQ(suma, 97862u);
    EXPECT_EQ(tres[48], "Perft Divide(3) = 97862");
    EXPECT_EQ(tres[49], "Movimientos: 48");
}

TEST(Perft, ArgumentosSinSentidoNoImprimenNada) {
    Motor m;
    for (const char* comando : {"perft", "divide"})
        for (const char* argumento :
             {"", " ", "0", "-1", "-100", "abc", "128", "100000", "99999999999", "x3"}) {
            const std::string linea = std::string(comando) + ' ' + argumento;
            SCOPED_TRACE(linea);
            EXPECT_TRUE(m.salidaDe(linea).empty());
        }
    EXPECT_TRUE(m.salidaDe("perft").empty());
    EXPECT_EQ(cuentaPerft(m.salidaDe("perft 2"), 2), 400u);
}

TEST(PositionTest, SeisPosicionesConSuTexto) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/3K4/2p5/p2b2r1/5k2/8/8/1q6 b - - 0 1",
        "8/7p/p5pb/4k3/P1pPn3/8/P5PP/1rB2RK1 b - d3 0 1",
        "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - - 0 1",
    };
    const char* textos[] = {"perft(6) = 8031647685", "perft(2) = 279",       "perft(6) = 38633283",
                            "perft(5) = 11139762",   "perft(7) = 178633661", "Fine #70"};
    const char* lados[] = {"Blancas", "Negras", "Negras", "Blancas", "Blancas", "Blancas"};
    const char* alPaso[] = {"Invalida", "Invalida", "d3", "f6", "Invalida", "Invalida"};
    Motor m;
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const Lineas l = m.salidaDe("position_test " + std::to_string(n));
        ASSERT_EQ(l.size(), 23u);
        EXPECT_EQ(Lineas(l.begin(), l.begin() + 8), filasDeFEN(fens[n - 1]));
        EXPECT_EQ(l[9], std::string("Lado Que Mueve: ") + lados[n - 1]);
        EXPECT_EQ(l[10], std::string("Casilla Al Paso: ") + alPaso[n - 1]);
        EXPECT_EQ(l[21], "Historial: ");
        EXPECT_EQ(l[22], textos[n - 1]);
        EXPECT_EQ(m.salidaDe("tablero"), Lineas(l.begin(), l.begin() + 22));
    }
    m.salidaDe("position startpos moves e2e4");
    for (const char* argumento : {"0", "7", "abc", "-1", "", "100"}) {
        SCOPED_TRACE(argumento);
        EXPECT_TRUE(m.salidaDe(std::string("position_test ") + argumento).empty());
    }
    EXPECT_TRUE(m.salidaDe("position_test").empty());
    EXPECT_EQ(m.salidaDe("tablero").at(21), "Historial: e2e4 ");
}

TEST(Move, JugadaLegalEIlegales) {
    Motor m;
    EXPECT_TRUE(m.salidaDe("move e2e4").empty());
    Lineas t = m.salidaDe("tablero");
    ASSERT_EQ(t.size(), 22u);
    EXPECT_EQ(t[9], "Lado Que Mueve: Negras");
    EXPECT_EQ(t[21], "Historial: e2e4 ");

    m.salidaDe("position startpos");
    for (const char* texto : {"e2e5", "e2e4 ", "E2E4", " e2e4", "e7e5", "", "e2e4 e7e5"}) {
        SCOPED_TRACE(texto);
        EXPECT_EQ(m.salidaDe(std::string("move ") + texto),
                  Lineas{std::string("Movimiento Ilegal: ") + texto});
    }
    EXPECT_EQ(m.salidaDe("move"), Lineas{"Movimiento Ilegal: "});
    EXPECT_EQ(m.salidaDe("tablero").at(21), "Historial: ");

    // Pinned knight: pseudo-legal, but it would leave the king attacked.
    m.salidaDe("position fen 4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
    EXPECT_EQ(m.salidaDe("move e2c3"), Lineas{"Movimiento Ilegal: e2c3"});
    t = m.salidaDe("tablero");
    EXPECT_EQ(t[6], ". . . . N . . . ");
    EXPECT_EQ(t[9], "Lado Que Mueve: Blancas");
    EXPECT_EQ(t[21], "Historial: ");
}

TEST(EvalYSee, PosicionInicial) {
    Motor m;
    EXPECT_EQ(m.salidaDe("eval"), Lineas{"Eval: 0"});
    const Lineas see = m.salidaDe("see e2e4");
    ASSERT_EQ(see.size(), 1u);
    EXPECT_EQ(see[0].rfind("SEE[e2][e4] = ", 0), 0u) << see[0];
    // A pawn taking an undefended pawn wins what it takes, whatever the scale.
    m.salidaDe("position fen 4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    const Lineas captura = m.salidaDe("see e4d5");
    ASSERT_EQ(captura.size(), 1u);
    EXPECT_EQ(captura[0].rfind("SEE[e4][d5] = ", 0), 0u) << captura[0];
    EXPECT_GT(std::stoi(captura[0].substr(14)), 0);
    // An unknown text gives no crash; the engine still answers.
    m.salidaDe("see zzzz");
    EXPECT_EQ(m.salidaDe("eval").size(), 1u);
}

} // namespace
