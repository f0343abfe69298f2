#include <gtest/gtest.h>

#include <random>
#include <string>

#include "apoyo/uci.h"

namespace {

const std::string AcercaDe = "Quorvantel Alpha [0.11 BETA] by Ostrikel";
const std::string Vacias = ". . . . . . . . \n. . . . . . . . \n";
const std::string Inicial = "r n b q k b n r \np p p p p p p p \n" + Vacias + Vacias +
                            "P P P P P P P P \nR N B Q K B N R \n";

Lineas bloqueUci(int hash = 2, const std::string& acercaDe = AcercaDe, bool resumen = true) {
    return lineasDe("id name Quorvantel Alpha [0.11 BETA]\nid author Ostrikel\n"
                    "option name Hash type spin default " +
                    std::to_string(hash) +
                    " min 1 max 1024\noption name Clear Hash type button\n"
                    "option name UCI_EngineAbout type string default " +
                    acercaDe + "\noption name Resumen Busqueda type check default " +
                    (resumen ? "true" : "false") + "\nuciok\n");
}

// Side to move and history of a "tablero" printout, after its board lines when asked for.
std::string estado(SesionUCI& m, bool conFilas = false) {
    const Lineas t = m.salidaDe("tablero");
    if (t.size() != 22) return "a board printout of " + std::to_string(t.size()) + " lines";
    std::string r;
    for (int i = 0; i < 8 && conFilas; ++i) r += t[i] + '\n';
    return r + t[9].substr(16) + '|' + t[21].substr(11);
}

// The lines of a search other than "info" and "bestmove": the summary.
std::size_t lineasDeResumen(const Lineas& busqueda) {
    std::size_t n = 0;
    for (const std::string& l : busqueda)
        n += !empiezaPor(l, "info ") && !empiezaPor(l, "bestmove ");
    return n;
}

TEST(Uci, BloqueReadyokYComandosSinSalida) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci());
    EXPECT_EQ(m.salidaDe("uci con palabras de mas"), bloqueUci());
    m.enviar("isready");
    EXPECT_EQ(m.proceso.leerLinea(), "readyok");
    for (const char* linea : {"ucinewgame", "stop", "stop ya"})
        EXPECT_EQ(m.salidaDe(linea), Lineas{});
    EXPECT_NE(ultima(m.buscar("go depth 2")), "bestmove xxxx");
}

TEST(Opciones, HashAceptaSoloDeUnoAMilVeinticuatro) {
    const std::pair<const char*, int> pasos[] = {{" name Hash value 64", 64},
                                                 {" name Hash value 0", 64},
                                                 {" name Hash value 2000", 64},
                                                 {" name Hash value -5", 64},
                                                 {" name Hash value abc", 64},
                                                 {" name hash value 8", 64},
                                                 {" name HASH value 8", 64},
                                                 {" name Hash", 64},
                                                 {" value 8", 64},
                                                 {"", 64},
                                                 {" name Hash value 1", 1},
                                                 {" name Hash value 1025", 1},
                                                 {" name Hash value 1024", 1024},
                                                 {" name Hash value 16abc", 16}};
    SesionUCI m;
    for (const auto& [resto, hash] : pasos) {
        // A table of 1024 MB takes a while to clear on a loaded machine.
        EXPECT_EQ(m.salidaDe(std::string("setoption") + resto, 30000), Lineas{}) << resto;
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(hash)) << resto;
    }
    // The table in use after all those changes still serves a search.
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 2")), 8u);
}

TEST(Opciones, ResumenBusquedaSoloCambiaConTrueOFalse) {
    // The option shows true only for "true", but only "true" and "false" switch the summary.
    const struct {
        const char* valor;
        bool mostrado;
        bool resumen;
    } pasos[] = {{" false", false, false}, {" xyz", false, false},   {" true", true, true},
                 {" TRUE", false, true},   {" false ", false, true}, {" false", false, false},
                 {"", false, false},       {" true", true, true}};
    SesionUCI m;
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), 8u);
    for (const auto& p : pasos) {
        SCOPED_TRACE(p.valor);
        EXPECT_EQ(m.salidaDe(std::string("setoption name Resumen Busqueda value") + p.valor),
                  Lineas{});
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, AcercaDe, p.mostrado));
        EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), p.resumen ? 8u : 0u);
    }
    // Names are compared whole.
    for (const char* nombre : {"Resumen  Busqueda", "resumen busqueda"})
        m.salidaDe(std::string("setoption name ") + nombre + " value false");
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci());
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), 8u);
}

TEST(Opciones, AcercaDeClearHashYNombresDesconocidos) {
    SesionUCI m;
    // The text keeps its blanks and a "value" word of its own.
    for (const std::string texto : {" Mi  motor   de prueba ", " el value de siempre", ""}) {
        m.salidaDe("setoption name UCI_EngineAbout value" + texto);
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, texto.substr(texto.empty() ? 0 : 1)));
    }
    m.salidaDe("setoption name UCI_EngineAbout value " + AcercaDe);
    m.buscar("go depth 3");
    for (const char* linea : {"setoption name Clear Hash", "setoption name Clear Hash value 5",
                              "setoption name Clear  Hash", "setoption name Inexistente value 3",
                              "setoption name", "setoption name ", "setoption namevalue"})
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci());
    // "name" is searched for, not expected right after the command word.
    EXPECT_EQ(m.salidaDe("setoption  name Hash value 3"), Lineas{});
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(3));
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 3")), 8u);
}

TEST(Position, StartposConYSinMovimientos) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("position startpos moves e2e4 e7e5"), Lineas{});
    EXPECT_EQ(estado(m, true), "r n b q k b n r \np p p p . p p p \n. . . . . . . . \n"
                               ". . . . p . . . \n. . . . P . . . \n. . . . . . . . \n"
                               "P P P P . P P P \nR N B Q K B N R \nBlancas|e2e4 e7e5 ");
    for (const char* linea : {"position startpos moves", "position startpos", "position  startpos",
                              "position startpos e2e4", "ucinewgame"}) {
        m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1 moves e8d8");
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
        EXPECT_EQ(estado(m, true), Inicial + "Blancas|") << linea;
    }
    // The second word stands where "moves" belongs and is never examined.
    EXPECT_EQ(m.salidaDe("position startpos xyz e2e4"), Lineas{});
    EXPECT_EQ(estado(m), "Negras|e2e4 ");
    // Unknown first words change nothing.
    for (const char* linea :
         {"position", "position ", "position   ", "position Startpos", "position xyz moves e7e5",
          "position moves e7e5", "position FEN 8/8/8/8/8/8/8/8 w - - 0 1"}) {
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
        EXPECT_EQ(estado(m), "Negras|e2e4 ") << linea;
    }
}

TEST(Position, FenConMovimientos) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4 e8d7"), Lineas{});
    EXPECT_EQ(estado(m, true), ". . . . . . . . \n. . . k . . . . \n" + Vacias +
                                   ". . . . P . . . \n" + Vacias +
                                   ". . . . K . . . \nBlancas|e2e4 e8d7 ");
    // Black to move read from the text, extra blanks between the fields ignored.
    EXPECT_EQ(m.salidaDe("position fen  4k3/8/8/8/8/8/4P3/4K3   b - -  0 1"), Lineas{});
    EXPECT_EQ(estado(m), "Negras|");
    // An empty FEN text is an empty board, where the move names nothing.
    EXPECT_EQ(m.salidaDe("position fen moves e2e4"), Lineas{"Movimiento erroneo: e2e4"});
    EXPECT_EQ(estado(m, true), Vacias + Vacias + Vacias + Vacias + "Blancas|");
    // "moves" as the last word: nothing to play.
    EXPECT_EQ(m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves"), Lineas{});
    EXPECT_EQ(estado(m), "Blancas|");
}

TEST(Position, MovimientosErroneosNoDetienenLaLista) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("position startpos moves E2E4 e2e4 e2e4 e7e5 d1h5 f7f6 g8f6 h5f7 e8f7 "
                         "a7a8k"),
              lineasDe("Movimiento erroneo: E2E4\nMovimiento erroneo: e2e4\n"
                       "Movimiento erroneo: f7f6\nMovimiento erroneo: a7a8k\n"));
    EXPECT_EQ(estado(m), "Blancas|e2e4 e7e5 d1h5 g8f6 h5f7 e8f7 ");
    // Promotions: the letter must be a lower-case piece letter the move carries.
    const std::string fen = "position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves ";
    for (const std::string palabra : {"b7b8", "b7b8k", "b7b8Q", "b7b8p", "B7B8Q"}) {
        EXPECT_EQ(m.salidaDe(fen + palabra), Lineas{"Movimiento erroneo: " + palabra});
        EXPECT_EQ(estado(m), "Blancas|") << palabra;
    }
    EXPECT_EQ(m.salidaDe(fen + "b7b8n"), Lineas{});
    EXPECT_EQ(estado(m, true).substr(0, 17), ". N . . k . . . \n");
    EXPECT_EQ(estado(m), "Negras|b7b8n ");
}

// Random texts after "position fen" give some position; the engine must stay up and answer.
TEST(EntradaErronea, FenBasuraNoRompeElMotor) {
    std::mt19937 azar(20240611);
    const std::string alfabeto = "pnbrqkPNBRQK12345678/9 0-wbKQkqa-h ////  ";
    const Lineas palabras = {"moves", "e2e4", "w", "b", "-", "KQkq", "e3", "h9", "a0"};
    Lineas lineas = {"",
                     " ",
                     " ///////////////////",
                     " 88888888/8",
                     " 8/8/8/8/8/8/8/8 w - z9 0 1",
                     " " + std::string(89, 'p') + " w KQkq"};
    for (int i = 0; i < 60; ++i) {
        std::string texto = " ";
        for (int c = static_cast<int>(azar() % 90); c > 0; --c)
            texto += azar() % 12 == 0 ? " " + palabras[azar() % 9] + ' '
                                      : std::string(1, alfabeto[azar() % alfabeto.size()]);
        lineas.push_back(texto);
    }
    SesionUCI m;
    for (const std::string& texto : lineas) {
        for (const std::string& l : m.salidaDe("position fen" + texto))
            EXPECT_TRUE(empiezaPor(l, "Movimiento erroneo: ")) << texto << ": " << l;
        ASSERT_EQ(m.salidaDe("tablero").size(), 22u) << texto;
    }
    for (const char* linea : {"xyzzy position startpos", "Position startpos", "posit", "go!"})
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
    m.salidaDe("position startpos");
    EXPECT_EQ(estado(m, true), Inicial + "Blancas|");
}

TEST(Position, HistorialLlenoRechazaLasJugadasQueNoCaben) {
    // Knights out and back: every four moves return to the start position. The history keeps
    // room for the deepest search on top of the game: 1024 - 128 moves.
    const std::string ciclo[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    const int total = 1100, admitidas = 896;
    std::string linea = "position startpos moves", historial;
    Lineas esperada;
    for (int i = 0; i < total; ++i) {
        linea += " " + ciclo[i % 4];
        if (i < admitidas)
            historial += ciclo[i % 4] + ' ';
        else // Stuck at the start position only the white knight move is playable.
            esperada.push_back((i % 4 ? "Movimiento erroneo: " : "Historial lleno: ") +
                               ciclo[i % 4]);
    }
    SesionUCI m;
    EXPECT_EQ(m.salidaDe(linea), esperada);
    EXPECT_EQ(estado(m, true), Inicial + "Blancas|" + historial);
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{"Historial lleno: e2e4"});
    EXPECT_NE(ultima(m.buscar("go depth 2")), "bestmove xxxx");
    EXPECT_EQ(m.salidaDe(""), Lineas{});
    // A new position starts an empty history.
    EXPECT_EQ(m.salidaDe("position startpos moves e2e4"), Lineas{});
    EXPECT_EQ(estado(m), "Negras|e2e4 ");
}

} // namespace
