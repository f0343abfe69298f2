#include <gtest/gtest.h>

#include <random>
#include <string>

#include "apoyo/uci.h"

namespace {

const std::string AcercaDe = "Quorvantel Alpha [0.11 BETA] by Ostrikel";

Lineas bloqueUci(int hash = 2, const std::string& acercaDe = AcercaDe, bool resumen = true) {
    return lineasDe("id name Quorvantel Alpha [0.11 BETA]\nid author Ostrikel\n"
                    "option name Hash type spin default " +
                    std::to_string(hash) +
                    " min 1 max 1024\noption name Clear Hash type button\n"
                    "option name UCI_EngineAbout type string default " +
                    acercaDe + "\noption name Resumen Busqueda type check default " +
                    (resumen ? "true" : "false") + "\nuciok\n");
}

// The lines of a search other than "info" and "bestmove": the summary.
std::size_t lineasDeResumen(const Lineas& busqueda) {
    std::size_t n = 0;
    for (const std::string& l : busqueda)
        n += !empiezaPor(l, "info ") && !empiezaPor(l, "bestmove ");
    return n;
}

// Hash takes only 1 to 1024; Resumen Busqueda only "true" and "false".
TEST(Opciones, SoloValoresValidos) {
    // Pairs of a value given and the value "uci" shows after it.
    const Lineas pares = palabras("64 64 0 64 -5 64 abc 64 1 1 1025 1 1024 1024 16abc 16");
    SesionUCI m;
    for (std::size_t i = 0; i < pares.size(); i += 2) {
        // A table of 1024 MB takes a while to clear on a loaded machine.
        EXPECT_EQ(m.salidaDe("setoption name Hash value " + pares[i], 30000), Lineas{});
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(std::stoi(pares[i + 1]))) << pares[i];
    }
    for (const char* resto : {" name hash value 8", " name Hash", " value 8", ""}) {
        EXPECT_EQ(m.salidaDe(std::string("setoption") + resto), Lineas{}) << resto;
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(16)) << resto;
    }

    // The table in use after all those changes serves the searches. The option shows true only
    // for "true", but only "true" and "false" switch the summary.
    const char* const valores[] = {" false",  " xyz",   " true", " TRUE",
                                   " false ", " false", "",      " true"};
    const std::string resumen = "00111001";
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(valores[i]);
        EXPECT_EQ(m.salidaDe(std::string("setoption name Resumen Busqueda value") + valores[i]),
                  Lineas{});
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(16, AcercaDe, valores[i] == std::string(" true")));
        EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), resumen[i] == '1' ? 8u : 0u);
    }
    // Names are compared whole.
    for (const char* nombre : {"Resumen  Busqueda", "resumen busqueda"})
        m.salidaDe(std::string("setoption name ") + nombre + " value false");
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(16));
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), 8u);
}

TEST(Uci, BloqueAcercaDeClearHashYNombresDesconocidos) {
    SesionUCI m;
    EXPECT_EQ(m.salidaDe("uci con palabras de mas"), bloqueUci());
    m.listo();
    for (const char* linea : {"ucinewgame", "stop", "stop ya"})
        EXPECT_EQ(m.salidaDe(linea), Lineas{});
    // The text keeps its blanks and a "value" word of its own.
    for (const std::string texto : {" Mi  motor   de prueba ", " el value de siempre", ""}) {
        m.salidaDe("setoption name UCI_EngineAbout value" + texto);
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, texto.substr(texto.empty() ? 0 : 1)));
    }
    m.salidaDe("setoption name UCI_EngineAbout value " + AcercaDe);
    EXPECT_NE(ultima(m.buscar("go depth 3")), "bestmove xxxx");
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

// Each line, run in turn on one engine, reports the wrong words given and leaves the side to move
// and the history shown (the board lines too where the expected state has them).
TEST(Position, LineasErroresYEstado) {
    const std::string kp = "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves";
    const struct {
        std::string linea, erroneas, estado;
    } pasos[] = {
        {"position startpos moves e2e4 e7e5", "", "Blancas|e2e4 e7e5 "},
        {kp + " e2e4 e8d7", "",
         ". . . . . . . . \n. . . k . . . . \n" + Vacias + ". . . . P . . . \n" + Vacias +
             ". . . . K . . . \nBlancas|e2e4 e8d7 "},
        // Black to move read from the text, extra blanks between the fields ignored.
        {"position fen  4k3/8/8/8/8/8/4P3/4K3   b - -  0 1", "", "Negras|"},
        {kp, "", "Blancas|"},
        // An empty FEN text is an empty board, where the move names nothing.
        {"position fen moves e2e4", "e2e4", Vacias + Vacias + Vacias + Vacias + "Blancas|"},
        {"position startpos moves E2E4 e2e4 e2e4 e7e5 d1h5 f7f6 g8f6 h5f7 e8f7 a7a8k",
         "E2E4 e2e4 f7f6 a7a8k", "Blancas|e2e4 e7e5 d1h5 g8f6 h5f7 e8f7 "},
        // The promotion letter must be a lower-case piece letter that the move carries.
        {"position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves b7b8 b7b8k b7b8Q b7b8p B7B8Q b7b8n",
         "b7b8 b7b8k b7b8Q b7b8p B7B8Q",
         ". N . . k . . . \n" + Vacias + Vacias + Vacias + ". . . . K . . . \nNegras|b7b8n "},
        // The second word stands where "moves" belongs and is never examined.
        {"position startpos xyz e2e4", "", "Negras|e2e4 "}};
    SesionUCI m;
    for (const auto& p : pasos) {
        SCOPED_TRACE(p.linea);
        Lineas salida;
        for (const std::string& w : palabras(p.erroneas))
            salida.push_back("Movimiento erroneo: " + w);
        EXPECT_EQ(m.salidaDe(p.linea), salida);
        EXPECT_EQ(m.estado(p.estado.find('\n') != std::string::npos), p.estado);
    }
    // Unknown first words change nothing.
    for (const char* linea :
         {"position", "position   ", "position Startpos", "position xyz moves e7e5",
          "position moves e7e5", "position FEN 8/8/8/8/8/8/8/8 w - - 0 1"}) {
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
        EXPECT_EQ(m.estado(), "Negras|e2e4 ") << linea;
    }
    for (const char* linea : {"position startpos moves", "position startpos", "position  startpos",
                              "position startpos e2e4", "ucinewgame"}) {
        m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1 moves e8d8");
        EXPECT_EQ(m.salidaDe(linea), Lineas{}) << linea;
        EXPECT_EQ(m.estado(true), Inicial + "Blancas|") << linea;
    }
    // Any text after "position fen" gives some position; the engine must stay up and answer.
    std::mt19937 azar(20240611);
    const Lineas piezas =
        palabras("p n b r q k P N B R Q K 1 2 3 4 5 6 7 8 9 0 / / / - w b a h moves e2e4 KQkq h9");
    Lineas textos = {"", " ", " ///////////////////", " 88888888/8", " 8/8/8/8/8/8/8/8 w - z9 0 1"};
    textos.push_back(" " + std::string(89, 'p') + " w KQkq");
    for (int i = 0; i < 60; ++i) {
        std::string texto;
        for (int c = static_cast<int>(azar() % 60); c > 0; --c)
            texto += (azar() % 4 ? "" : " ") + piezas[azar() % piezas.size()];
        textos.push_back(" " + texto);
    }
    for (const std::string& texto : textos) {
        for (const std::string& l : m.salidaDe("position fen" + texto))
            EXPECT_TRUE(empiezaPor(l, "Movimiento erroneo: ")) << texto << ": " << l;
        ASSERT_EQ(m.salidaDe("tablero").size(), 22u) << texto;
    }
}

TEST(Position, HistorialLlenoRechazaLasJugadasQueNoCaben) {
    // Knights out and back: every four moves return to the start position. The history keeps
    // room for the deepest search on top of the game: 1024 - 128 moves.
    const std::string ciclo[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string linea = "position startpos moves", historial;
    Lineas esperada;
    for (int i = 0; i < 1100; ++i) {
        linea += " " + ciclo[i % 4];
        if (i < 896)
            historial += ciclo[i % 4] + ' ';
        else // Stuck at the start position only the white knight move is playable.
            esperada.push_back((i % 4 ? "Movimiento erroneo: " : "Historial lleno: ") +
                               ciclo[i % 4]);
    }
    SesionUCI m;
    EXPECT_EQ(m.salidaDe(linea), esperada);
    EXPECT_EQ(m.estado(true), Inicial + "Blancas|" + historial);
    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{"Historial lleno: e2e4"});
}

} // namespace
