#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <thread>

#include "apoyo/uci.h"

namespace {

using Reloj = std::chrono::steady_clock;

Lineas soloInfoDepth(const Lineas& lineas) {
    Lineas r;
    for (const std::string& l : lineas)
        if (empiezaPor(l, "info depth ")) r.push_back(l);
    return r;
}

int64_t milisegundosDesde(Reloj::time_point inicio) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Reloj::now() - inicio).count();
}

int64_t escalado(int64_t ms) {
    return Proceso::escalar(Proceso::Plazo(ms)).count();
}

void esperar(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The summary of an empty root: nothing searched, the root probed in each of four iterations.
Lineas resumenVacio(int capturas, int tranquilas, int evasiones) {
    const std::string c = std::to_string(capturas), t = std::to_string(tranquilas),
                      e = std::to_string(evasiones);
    return lineasDe(
        "NODOS: Totales: 0 Qsearch: 0\nMOVIMIENTOS GENERADOS: Capturas: " + c +
        " NoCapturas: " + t + " Evasiones: " + e + "\nEXTENSIONES: Jaque: " + e +
        " Amenaza Mate: 0 Respuesta Unica Jaque: 0\nORDENADO MOVIMIENTOS: 0%\n"
        "HASH: Probes: 4 Hits: 0 Stores: 0\nHASH CUTS: Alpha: 0 Beta: 0 Exacto: 0\n"
        "PODADOS: SEE: 0\nNULLMOVE: Intentos: 0 CutsMAX: 0 CutsMIN: 0\nbestmove xxxx\n");
}

// Every field of the info lines of a search, single blanks and one after the last pv move; the
// root moves of startpos numbered 1 to 20 in iterations 5 and 6 and never before; then the eight
// summary lines. Another process, and the same one after "ucinewgame", print the same lines but
// for the times.
TEST(LineasInfo, FormatoResumenYDeterminismo) {
    const std::string j = "[a-h][1-8][a-h][1-8][qrbn]?";
    const std::regex depth("info depth (\\d+) time (\\d+) nodes (\\d+) nps (\\d+) hashfull (\\d+) "
                           "score (cp|mate) -?\\d+ pv (" +
                           j + ") (" + j + " )*"),
        actual("info currmovenumber (\\d+) currmove (" + j + ") nodes (\\d+)");
    SesionUCI m;
    const Lineas lineas = m.buscar("go depth 6");
    ASSERT_GE(lineas.size(), 9u);
    uint64_t profundidadAnterior = 0, nodosAnteriores = 0, nodosActuales = 0;
    std::string pv;
    std::vector<std::set<std::string>> tandas;
    std::smatch c;
    for (std::size_t i = 0; i + 9 < lineas.size(); ++i) {
        const std::string& l = lineas[i];
        if (std::regex_match(l, c, actual)) {
            if (c[1] == "1") tandas.emplace_back();
            ASSERT_FALSE(tandas.empty());
            EXPECT_EQ(c[1], std::to_string(tandas.back().size() + 1)) << l;
            EXPECT_TRUE(tandas.back().insert(c[2]).second) << "repeated " << l;
            EXPECT_GE(std::stoull(c[3]), nodosActuales) << l;
            nodosActuales = std::stoull(c[3]);
            continue;
        }
        ASSERT_TRUE(std::regex_match(l, c, depth)) << l;
        const uint64_t profundidad = std::stoull(c[1]), t = std::stoull(c[2]),
                       nodos = std::stoull(c[3]), nps = std::stoull(c[4]);
        EXPECT_TRUE(profundidad == profundidadAnterior || profundidad == profundidadAnterior + 1)
            << l;
        EXPECT_TRUE(profundidad > 4 || tandas.empty()) << l;
        EXPECT_GE(nodos, nodosAnteriores) << l;
        EXPECT_LE(std::stoi(c[5]), 1000) << l;
        // nps uses a reading of the clock taken just before the one printed as "time".
        bool coherente = false;
        for (uint64_t antes = t >= 3 ? t - 3 : 0; antes <= t; ++antes)
            coherente = coherente || nps == nodos * 1000 / (antes + 1);
        EXPECT_TRUE(coherente) << l;
        profundidadAnterior = profundidad;
        nodosAnteriores = nodos;
        pv = c[7];
    }
    EXPECT_EQ(profundidadAnterior, 6u);
    EXPECT_EQ(lineas.back(), "bestmove " + pv);
    ASSERT_EQ(tandas.size(), 2u);
    EXPECT_EQ(tandas[0].size(), 20u);
    EXPECT_EQ(tandas[0], tandas[1]);
    // The summary has the form of an empty root's, numbers aside (decimals included).
    const std::regex numero("[0-9]+(\\.[0-9]+)?");
    Lineas resumen(lineas.end() - 9, lineas.end() - 1), vacio = resumenVacio(0, 0, 0);
    vacio.pop_back();
    for (std::string& l : resumen) l = std::regex_replace(l, numero, "#");
    for (std::string& l : vacio) l = std::regex_replace(l, numero, "#");
    EXPECT_EQ(resumen, vacio);

    SesionUCI otro;
    EXPECT_EQ(sinTiempos(otro.buscar("go depth 6")), sinTiempos(lineas));
    // The second search of a game uses what the table kept; it need not match.
    m.buscar("go depth 6");
    m.enviar("ucinewgame");
    EXPECT_EQ(sinTiempos(m.buscar("go depth 6")), sinTiempos(lineas));
}

// A root without moves gives "bestmove xxxx" and no info line; mates are scored in moves.
TEST(Mates, RaizSinMovimientosYPuntuaciones) {
    const std::string mate =
        "position fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3";
    const std::string ahogado = "position fen k7/8/1Q6/8/8/8/8/2K5 b - - 0 1";
    SesionUCI m;
    m.enviar(mate);
    EXPECT_EQ(m.buscar("go depth 4"), resumenVacio(0, 0, 4));
    m.enviar(ahogado);
    EXPECT_EQ(m.buscar("go depth 4"), resumenVacio(4, 4, 0));
    // Without a depth the 99 empty iterations end by themselves.
    m.enviar("setoption name Resumen Busqueda value false");
    m.enviar(mate);
    EXPECT_EQ(m.buscar("go infinite"), Lineas{"bestmove xxxx"});
    m.enviar(ahogado);
    EXPECT_EQ(m.buscar("go wtime 1000"), Lineas{"bestmove xxxx"});

    // Position, depth, score and pv start, best move (none when more than one mates as fast).
    const char* const casos[][4] = {
        {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w", "3", "mate 1 pv a1a8 ", "a1a8"},
        {"k7/8/2K5/8/8/8/8/7R w", "5", "mate 2 pv ", ""},
        {"k7/8/1K6/8/8/8/8/7R b", "4", "mate -1 pv a8b8 h1h8 ", "a8b8"},
        {"k7/8/1K6/8/8/8/2R5/8 b", "6", "mate -2 pv a8b8 ", "a8b8"}};
    for (const auto& [fen, profundidad, puntuacion, mejor] : casos) {
        SCOPED_TRACE(fen);
        m.enviar("ucinewgame");
        m.enviar(std::string("position fen ") + fen + " - - 0 1");
        const Lineas info = m.buscar(std::string("go depth ") + profundidad);
        const std::string ultimaDepth = ultima(soloInfoDepth(info));
        EXPECT_NE(ultimaDepth.find(std::string(" score ") + puntuacion), std::string::npos)
            << ultimaDepth;
        if (*mejor) {
            EXPECT_EQ(ultima(info), std::string("bestmove ") + mejor);
        } else { // A mate in two: three moves of pv.
            EXPECT_EQ(palabras(ultimaDepth.substr(ultimaDepth.find(" pv "))).size(), 4u);
        }
    }
}

TEST(Limites, GoSinPalabrasYSinValoresYPresupuestoCero) {
    SesionUCI m(false);
    // No words: no search at all.
    for (const char* go : {"go", "go "}) {
        m.enviar(go);
        m.listo();
    }
    // "wtime" without its value: a budget of nothing, but still a move.
    auto inicio = Reloj::now();
    EXPECT_NE(ultima(m.buscar("go wtime", 3000)), "bestmove xxxx");
    EXPECT_LT(milisegundosDesde(inicio), escalado(1000));
    m.listo();
    // With a depth the clock is not looked at: seven plies pass several periodic checks with a
    // budget of 0 ms and still give every iteration.
    std::set<std::string> profundidades;
    for (const std::string& l : soloInfoDepth(m.buscar("go depth 7 wtime 1 btime 1 movetime 1")))
        profundidades.insert(palabras(l)[2]);
    EXPECT_EQ(profundidades, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7"}));

    inicio = Reloj::now();
    EXPECT_FALSE(m.buscar("go movetime 200", 3000).empty());
    const int64_t transcurrido = milisegundosDesde(inicio);
    EXPECT_GE(transcurrido, 190);
    EXPECT_LE(transcurrido, 200 + escalado(150));
}

// Lines sent during a search wait for its "bestmove" and then run in order; "isready", "stop"
// and "quit" act at once.
TEST(DuranteLaBusqueda, EsperanOActuanAlMomento) {
    SesionUCI m(false);
    m.enviar("go infinite");
    esperar(50);
    for (const char* linea : {"position startpos moves e2e4", "tablero", "go depth 2", "stop"})
        m.enviar(linea);
    const Lineas primera = m.hasta("bestmove ");
    ASSERT_FALSE(primera.empty());
    for (std::size_t i = 0; i + 1 < primera.size(); ++i)
        EXPECT_TRUE(empiezaPor(primera[i], "info ")) << primera[i];
    // A move of White's from the start position.
    EXPECT_TRUE(
        std::regex_match(primera.back(), std::regex("bestmove (([a-h])2\\2[34]|b1[ac]3|g1[fh]3)")))
        << primera.back();

    const Lineas tablero = m.hasta("Historial: ");
    EXPECT_EQ(ultima(tablero), "Historial: e2e4 ");
    EXPECT_EQ(tablero.size() >= 13 ? tablero[tablero.size() - 13] : "", "Lado Que Mueve: Negras");

    const Lineas segunda = m.hasta("bestmove ");
    EXPECT_TRUE(empiezaPor(ultima(soloInfoDepth(segunda)), "info depth 2 "));
    // And one of Black's pieces.
    EXPECT_TRUE(std::regex_match(ultima(segunda), std::regex("bestmove [a-h][78][a-h][1-8]")))
        << ultima(segunda);

    m.enviar("go infinite");
    esperar(100);
    m.enviar("isready");
    for (const std::string& l : m.hasta("readyok")) EXPECT_FALSE(empiezaPor(l, "bestmove")) << l;

    esperar(100);
    const auto inicio = Reloj::now();
    m.enviar("stop");
    const Lineas final = m.hasta("bestmove ", 2000);
    EXPECT_LE(milisegundosDesde(inicio), escalado(100));
    EXPECT_NE(ultima(final), "bestmove xxxx");
    // Exactly one "bestmove": nothing else is pending, and a later "stop" prints nothing.
    m.enviar("stop");
    m.listo();

    // "quit" during a search: the "bestmove" and nothing more, then status 0.
    m.enviar("go infinite");
    esperar(100);
    m.enviar("quit");
    EXPECT_FALSE(m.hasta("bestmove ").empty());
    Lineas resto;
    EXPECT_TRUE(m.proceso.leerHastaFin(resto));
    EXPECT_EQ(resto, Lineas{});
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

// Odd "go" lines: each ends with a "bestmove", "stop" is obeyed and "isready" answers after.
TEST(EntradaMala, GoRaroNoCuelgaNiRompe) {
    SesionUCI m(false);
    for (const char* go :
         {"go depth -1", "go depth abc", "go wtime -100 btime -100", "go movestogo -1 wtime 1000",
          "go depth 99999999", "go nodes", "go mate 3 movetime 50", "go depth 0",
          "go infinite depth", "go searchmoves"}) {
        SCOPED_TRACE(go);
        m.enviar(go);
        esperar(20);
        m.enviar("stop");
        const Lineas lineas = m.hasta("bestmove", 5000);
        ASSERT_FALSE(lineas.empty());
        m.listo();
    }
}

} // namespace
