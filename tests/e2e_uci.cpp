#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "apoyo/proceso.h"

namespace {

using Lineas = std::vector<std::string>;

const std::string AcercaDePorDefecto = "Quorvantel Alpha [0.11 BETA] by Ostrikel";

const Lineas TableroInicial = {
    "r n b q k b n r ", "p p p p p p p p ", ". . . . . . . . ", ". . . . . . . . ",
    ". . . . . . . . ", ". . . . . . . . ", "P P P P P P P P ", "R N B Q K B N R ",
};

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

    void enviar(const std::string& linea) { EXPECT_TRUE(proceso.escribirLinea(linea)) << linea; }

    // Everything the engine prints for the line, fenced off by an "isready" sent after it.
    Lineas salidaDe(const std::string& linea, Proceso::Plazo plazo = Proceso::plazoPorDefecto()) {
        enviar(linea);
        return hastaReadyok(plazo);
    }

    Lineas hastaReadyok(Proceso::Plazo plazo = Proceso::plazoPorDefecto()) {
        enviar("isready");
        Lineas leidas;
        const auto fin =
            proceso.leerHasta([](const std::string& l) { return l == "readyok"; }, plazo, &leidas);
        EXPECT_TRUE(fin) << "no readyok";
        if (fin) leidas.pop_back();
        return leidas;
    }

    // The lines of a search up to and including "bestmove".
    Lineas buscar(const std::string& go) {
        enviar(go);
        Lineas leidas;
        const auto fin =
            proceso.leerHasta([](const std::string& l) { return l.rfind("bestmove ", 0) == 0; },
                              Proceso::plazoPorDefecto(), &leidas);
        EXPECT_TRUE(fin) << "no bestmove after " << go;
        return leidas;
    }

    Lineas tablero() { return salidaDe("tablero"); }

    bool vivo() { return !proceso.esperarFin(Proceso::Plazo(0)).has_value(); }

    Proceso proceso;
};

Lineas bloqueUci(int hash = 2, const std::string& acercaDe = AcercaDePorDefecto,
                 bool resumen = true) {
    return {"id name Quorvantel Alpha [0.11 BETA]",
            "id author Ostrikel",
            "option name Hash type spin default " + std::to_string(hash) + " min 1 max 1024",
            "option name Clear Hash type button",
            "option name UCI_EngineAbout type string default " + acercaDe,
            std::string("option name Resumen Busqueda type check default ") +
                (resumen ? "true" : "false"),
            "uciok"};
}

// Board lines, side to move and history line of a "tablero" printout.
struct VistaTablero {
    Lineas filas;
    std::string lado;
    std::string historial;
};

VistaTablero vista(const Lineas& impresion) {
    VistaTablero v;
    if (impresion.size() != 22) {
        ADD_FAILURE() << "board printout has " << impresion.size() << " lines";
        return v;
    }
    v.filas.assign(impresion.begin(), impresion.begin() + 8);
    v.lado = impresion[9];
    v.historial = impresion[21];
    return v;
}

// The number of summary lines of a search and whether they are the eight expected ones.
std::size_t lineasDeResumen(const Lineas& busqueda) {
    const std::vector<std::string> prefijos = {
        "NODOS: Totales: ",     "MOVIMIENTOS GENERADOS: Capturas: ",
        "EXTENSIONES: Jaque: ", "ORDENADO MOVIMIENTOS: ",
        "HASH: Probes: ",       "HASH CUTS: Alpha: ",
        "PODADOS: SEE: ",       "NULLMOVE: Intentos: "};
    Lineas resumen;
    for (const std::string& l : busqueda)
        if (l.rfind("info ", 0) != 0 && l.rfind("bestmove ", 0) != 0) resumen.push_back(l);
    if (!resumen.empty()) {
        EXPECT_EQ(resumen.size(), prefijos.size());
        for (std::size_t i = 0; i < resumen.size() && i < prefijos.size(); ++i)
            EXPECT_EQ(resumen[i].rfind(prefijos[i], 0), 0u) << resumen[i];
    }
    EXPECT_FALSE(busqueda.empty());
    if (!busqueda.empty()) {
        EXPECT_EQ(busqueda.back().rfind("bestmove ", 0), 0u);
    }
    return resumen.size();
}

TEST(Uci, BloqueDeIdentificacionYReadyok) {
    Motor m;
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci());
    EXPECT_EQ(m.salidaDe("uci con palabras de mas"), bloqueUci());
    m.enviar("isready");
    EXPECT_EQ(m.proceso.leerLinea(), "readyok");
    EXPECT_TRUE(m.salidaDe("ucinewgame").empty());
}

TEST(Opciones, HashAceptaSoloDeUnoAMilVeinticuatro) {
    Motor m;
    struct Paso {
        const char* linea;
        int hash;
    };
    const Paso pasos[] = {
        {"setoption name Hash value 64", 64},
        {"setoption name Hash value 0", 64},
        {"setoption name Hash value 2000", 64},
        {"setoption name Hash value -5", 64},
        {"setoption name Hash value abc", 64},
        {"setoption name hash value 8", 64},
        {"setoption name HASH value 8", 64},
        {"setoption name Hash", 64},
        {"setoption value 8", 64},
        {"setoption", 64},
        {"setoption name Hash value 1", 1},
        {"setoption name Hash value 1025", 1},
        {"setoption name Hash value 1024", 1024},
        {"setoption name Hash value 16abc", 16},
    };
    for (const Paso& p : pasos) {
        SCOPED_TRACE(p.linea);
        EXPECT_TRUE(m.salidaDe(p.linea).empty());
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(p.hash));
    }
    // The table in use after all those changes still serves a search.
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 2")), 8u);
}

TEST(Opciones, ResumenBusquedaSoloCambiaConTrueOFalse) {
    Motor m;
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), 8u);
    struct Paso {
        const char* linea;
        bool valorMostrado;
        bool resumen;
    };
    // The option shows true only for "true", but only "true" and "false" switch the summary.
    const Paso pasos[] = {
        {"setoption name Resumen Busqueda value false", false, false},
        {"setoption name Resumen Busqueda value xyz", false, false},
        {"setoption name Resumen Busqueda value true", true, true},
        {"setoption name Resumen Busqueda value TRUE", false, true},
        {"setoption name Resumen Busqueda value no", false, true},
        {"setoption name Resumen Busqueda value false ", false, true},
        {"setoption name Resumen Busqueda value false", false, false},
        {"setoption name Resumen Busqueda value", false, false},
        {"setoption name Resumen Busqueda value true", true, true},
        {"setoption name Resumen  Busqueda value false", true, true},
        {"setoption name resumen busqueda value false", true, true},
    };
    for (const Paso& p : pasos) {
        SCOPED_TRACE(p.linea);
        EXPECT_TRUE(m.salidaDe(p.linea).empty());
        EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, AcercaDePorDefecto, p.valorMostrado));
        EXPECT_EQ(lineasDeResumen(m.buscar("go depth 1")), p.resumen ? 8u : 0u);
    }
}

TEST(Opciones, AcercaDeGuardaLosBlancosYLaPalabraValueDelTexto) {
    Motor m;
    m.salidaDe("setoption name UCI_EngineAbout value Mi  motor   de prueba ");
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, "Mi  motor   de prueba "));
    m.salidaDe("setoption name UCI_EngineAbout value el value de siempre");
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, "el value de siempre"));
    m.salidaDe("setoption name UCI_EngineAbout value");
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(2, ""));
}

TEST(Opciones, ClearHashYNombresDesconocidosNoImprimenNada) {
    Motor m;
    m.buscar("go depth 3");
    for (const char* linea : {"setoption name Clear Hash", "setoption name Clear Hash value 5",
                              "setoption name Clear  Hash", "setoption name Inexistente value 3",
                              "setoption name", "setoption name ", "setoption namevalue"}) {
        SCOPED_TRACE(linea);
        EXPECT_TRUE(m.salidaDe(linea).empty());
    }
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci());
    // "name" is searched for, not expected right after the command word.
    EXPECT_TRUE(m.salidaDe("setoption  name Hash value 3").empty());
    EXPECT_EQ(m.salidaDe("uci"), bloqueUci(3));
    EXPECT_EQ(lineasDeResumen(m.buscar("go depth 3")), 8u);
}

TEST(Position, StartposConYSinMovimientos) {
    Motor m;
    EXPECT_TRUE(m.salidaDe("position startpos moves e2e4 e7e5").empty());
    VistaTablero v = vista(m.tablero());
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
    EXPECT_EQ(v.historial, "Historial: e2e4 e7e5 ");
    EXPECT_EQ(v.filas[3], ". . . . p . . . ");
    EXPECT_EQ(v.filas[4], ". . . . P . . . ");

    for (const char* linea : {"position startpos moves", "position startpos", "position  startpos",
                              "position startpos e2e4"}) {
        SCOPED_TRACE(linea);
        m.salidaDe("position startpos moves d2d4");
        EXPECT_TRUE(m.salidaDe(linea).empty());
        v = vista(m.tablero());
        EXPECT_EQ(v.filas, TableroInicial);
        EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
        EXPECT_EQ(v.historial, "Historial: ");
    }

    // The second word stands where "moves" belongs and is never examined.
    EXPECT_TRUE(m.salidaDe("position startpos xyz e2e4").empty());
    v = vista(m.tablero());
    EXPECT_EQ(v.lado, "Lado Que Mueve: Negras");
    EXPECT_EQ(v.historial, "Historial: e2e4 ");
}

TEST(Position, FenConMovimientos) {
    Motor m;
    EXPECT_TRUE(m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4 e8d7").empty());
    VistaTablero v = vista(m.tablero());
    EXPECT_EQ(v.filas, (Lineas{". . . . . . . . ", ". . . k . . . . ", ". . . . . . . . ",
                               ". . . . . . . . ", ". . . . P . . . ", ". . . . . . . . ",
                               ". . . . . . . . ", ". . . . K . . . "}));
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
    EXPECT_EQ(v.historial, "Historial: e2e4 e8d7 ");

    // Black to move read from the text, extra blanks between the fields ignored.
    EXPECT_TRUE(m.salidaDe("position fen  4k3/8/8/8/8/8/4P3/4K3   b - -  0 1").empty());
    v = vista(m.tablero());
    EXPECT_EQ(v.lado, "Lado Que Mueve: Negras");
    EXPECT_EQ(v.historial, "Historial: ");

    // An empty FEN text is read without complaint, as an empty board; the move then names
    // nothing.
    EXPECT_EQ(m.salidaDe("position fen moves e2e4"), Lineas{"Movimiento erroneo: e2e4"});
    v = vista(m.tablero());
    EXPECT_EQ(v.filas, Lineas(8, ". . . . . . . . "));
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
    EXPECT_EQ(v.historial, "Historial: ");

    // "moves" as the last word: nothing to play.
    EXPECT_TRUE(m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves").empty());
    EXPECT_EQ(vista(m.tablero()).historial, "Historial: ");
}

TEST(Position, MovimientosErroneosNoDetienenLaLista) {
    Motor m;
    const Lineas salida = m.salidaDe(
        "position startpos moves E2E4 e2e4 e2e4 e7e5 d1h5 f7f6 g8f6 h5f7 e8f7 a7a8k");
    EXPECT_EQ(salida, (Lineas{"Movimiento erroneo: E2E4", "Movimiento erroneo: e2e4",
                              "Movimiento erroneo: f7f6", "Movimiento erroneo: a7a8k"}));
    VistaTablero v = vista(m.tablero());
    EXPECT_EQ(v.historial, "Historial: e2e4 e7e5 d1h5 g8f6 h5f7 e8f7 ");
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");

    // Promotions: the letter must be a lower-case piece letter the move carries.
    const std::string fen = "position fen 4k3/1P6/8/8/8/8/8/4K3 w - - 0 1 moves ";
    for (const char* palabra : {"b7b8", "b7b8k", "b7b8Q", "b7b8p", "B7B8Q"}) {
        SCOPED_TRACE(palabra);
        EXPECT_EQ(m.salidaDe(fen + palabra), Lineas{std::string("Movimiento erroneo: ") + palabra});
        EXPECT_EQ(vista(m.tablero()).historial, "Historial: ");
    }
    EXPECT_TRUE(m.salidaDe(fen + "b7b8n").empty());
    v = vista(m.tablero());
    EXPECT_EQ(v.filas[0], ". N . . k . . . ");
    EXPECT_EQ(v.historial, "Historial: b7b8n ");
}

TEST(Position, UcinewgameVuelveALaPosicionInicial) {
    Motor m;
    m.salidaDe("position fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1 moves e8d8");
    EXPECT_TRUE(m.salidaDe("ucinewgame").empty());
    const VistaTablero v = vista(m.tablero());
    EXPECT_EQ(v.filas, TableroInicial);
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
    EXPECT_EQ(v.historial, "Historial: ");
}

TEST(Position, PrimerasPalabrasDesconocidasNoCambianNada) {
    Motor m;
    m.salidaDe("position startpos moves g1f3");
    for (const char* linea :
         {"position", "position ", "position   ", "position Startpos", "position xyz moves e7e5",
          "position moves e7e5", "position FEN 8/8/8/8/8/8/8/8 w - - 0 1"}) {
        SCOPED_TRACE(linea);
        EXPECT_TRUE(m.salidaDe(linea).empty());
        EXPECT_EQ(vista(m.tablero()).historial, "Historial: g1f3 ");
    }
}

TEST(Stop, SinBusquedaNoImprimeNadaYLaSiguienteBusquedaTermina) {
    Motor m;
    EXPECT_TRUE(m.salidaDe("stop").empty());
    EXPECT_TRUE(m.salidaDe("stop ya").empty());
    const Lineas busqueda = m.buscar("go depth 2");
    ASSERT_FALSE(busqueda.empty());
    EXPECT_NE(busqueda.back(), "bestmove xxxx");
}

// Random texts after "position fen" give some position; the engine must stay up and answer.
TEST(EntradaErronea, FenBasuraNoRompeElMotor) {
    Motor m;
    std::mt19937 azar(20240611);
    const std::string alfabeto = "pnbrqkPNBRQK12345678/9 0-wbKQkqa-h ////  ";
    const char* palabras[] = {"moves", "e2e4", "w", "b", "-", "KQkq", "e3", "h9", "a0"};
    for (int i = 0; i < 60; ++i) {
        std::string texto;
        const int largo = static_cast<int>(azar() % 90);
        for (int c = 0; c < largo; ++c) {
            if (azar() % 12 == 0)
                texto += std::string(" ") + palabras[azar() % 9] + ' ';
            else
                texto += alfabeto[azar() % alfabeto.size()];
        }
        SCOPED_TRACE(texto);
        const Lineas salida = m.salidaDe("position fen " + texto);
        for (const std::string& l : salida) EXPECT_EQ(l.rfind("Movimiento erroneo: ", 0), 0u) << l;
        EXPECT_EQ(m.tablero().size(), 22u);
        ASSERT_TRUE(m.vivo());
    }
    for (const char* linea : {"position fen", "position fen ", "position fen moves",
                              "position fen ///////////////////", "position fen 88888888/8",
                              "position fen pppppppppppppppppppppppppppppppppppppppppppppppppppppp"
                              "ppppppppppppppppppppppppppppppppppp w KQkq",
                              "position fen 8/8/8/8/8/8/8/8 w - z9 0 1"}) {
        SCOPED_TRACE(linea);
        m.salidaDe(linea);
        EXPECT_EQ(m.tablero().size(), 22u);
        ASSERT_TRUE(m.vivo());
    }
    for (const char* linea : {"xyzzy position startpos", "Position startpos", "posit", "go!"}) {
        SCOPED_TRACE(linea);
        EXPECT_TRUE(m.salidaDe(linea).empty());
    }
    m.salidaDe("position startpos");
    EXPECT_EQ(vista(m.tablero()).filas, TableroInicial);
}

TEST(Position, HistorialLlenoRechazaLasJugadasQueNoCaben) {
    Motor m;
    // Knights out and back: every four moves return to the start position.
    const char* ciclo[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    const int total = 1100;
    std::string linea = "position startpos moves";
    for (int i = 0; i < total; ++i) linea += std::string(" ") + ciclo[i % 4];
    const Lineas salida = m.salidaDe(linea);

    // The history keeps room for the deepest search on top of the game: 1024 − 128 moves.
    const int admitidas = 896;
    Lineas esperada;
    for (int i = admitidas; i < total; ++i) {
        // With the board stuck at the start position only the white knight move is playable;
        // the others name no move at all.
        const std::string palabra = ciclo[i % 4];
        esperada.push_back((i % 4 == 0 ? "Historial lleno: " : "Movimiento erroneo: ") + palabra);
    }
    EXPECT_EQ(salida, esperada);

    const Lineas impresion = m.tablero();
    const VistaTablero v = vista(impresion);
    EXPECT_EQ(v.filas, TableroInicial);
    EXPECT_EQ(v.lado, "Lado Que Mueve: Blancas");
    std::string historial = "Historial: ";
    for (int i = 0; i < admitidas; ++i) historial += std::string(ciclo[i % 4]) + ' ';
    EXPECT_EQ(v.historial, historial);

    EXPECT_EQ(m.salidaDe("move e2e4"), Lineas{"Historial lleno: e2e4"});
    const Lineas busqueda = m.buscar("go depth 2");
    ASSERT_FALSE(busqueda.empty());
    EXPECT_NE(busqueda.back(), "bestmove xxxx");
    EXPECT_TRUE(m.hastaReadyok().empty());

    // A new position starts an empty history.
    EXPECT_TRUE(m.salidaDe("position startpos moves e2e4").empty());
    EXPECT_EQ(vista(m.tablero()).historial, "Historial: e2e4 ");
}

} // namespace
