#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <thread>

#include "apoyo/uci.h"

namespace {

using Reloj = std::chrono::steady_clock;

const std::string MedioJuego =
    "position fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";

bool esNumero(const std::string& p) {
    return !p.empty() && p.find_first_not_of("0123456789") == std::string::npos;
}

bool esJugada(const std::string& p) {
    auto en = [&](std::size_t i, char a, char b) { return p[i] >= a && p[i] <= b; };
    return (p.size() == 4 ||
            (p.size() == 5 && std::string("qrbn").find(p[4]) != std::string::npos)) &&
           en(0, 'a', 'h') && en(1, '1', '8') && en(2, 'a', 'h') && en(3, '1', '8');
}

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

// "isready" is answered at once and nothing else is pending before it.
void comprobarListo(SesionUCI& m) {
    m.enviar("isready");
    EXPECT_EQ(m.proceso.leerLinea(Proceso::escalar(Proceso::Plazo(3000))), "readyok");
}

// Two processes, and one process after "ucinewgame", print the same lines but for the times.
TEST(Determinismo, MismasLineasSalvoTiempos) {
    for (const auto& [posicion, go] :
         {std::pair<std::string, std::string>{"position startpos", "go depth 7"},
          {MedioJuego, "go depth 5"}}) {
        SCOPED_TRACE(posicion);
        SesionUCI uno, dos;
        uno.enviar(posicion);
        dos.enviar(posicion);
        const Lineas a = sinTiempos(uno.buscar(go));
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(sinTiempos(dos.buscar(go)), a);
        // The second search of a game uses what the table kept; it need not match.
        uno.buscar(go);
        uno.enviar("ucinewgame");
        uno.enviar(posicion);
        EXPECT_EQ(sinTiempos(uno.buscar(go)), a);
    }
}

// Every field of the info lines of a search, single blanks and one after the last pv move; the
// root moves of startpos numbered 1 to 20 in iterations 5 and 6 and never before.
TEST(LineasInfo, FormatoYMovimientoActual) {
    SesionUCI m(false);
    const Lineas lineas = m.buscar("go depth 6");
    ASSERT_FALSE(lineas.empty());
    uint64_t profundidadAnterior = 0, nodosAnteriores = 0, nodosActuales = 0;
    std::string pv;
    std::vector<std::set<std::string>> tandas;
    for (std::size_t i = 0; i + 1 < lineas.size(); ++i) {
        const std::string& l = lineas[i];
        const Lineas p = palabras(l);
        std::string unida;
        for (const std::string& w : p) unida += w + ' ';
        if (empiezaPor(l, "info currmovenumber ")) {
            ASSERT_EQ(p.size(), 7u) << l;
            EXPECT_EQ(l + ' ', unida);
            EXPECT_TRUE(p[3] == "currmove" && p[5] == "nodes") << l;
            ASSERT_TRUE(esNumero(p[2]) && esJugada(p[4]) && esNumero(p[6])) << l;
            if (p[2] == "1") tandas.emplace_back();
            ASSERT_FALSE(tandas.empty());
            EXPECT_EQ(p[2], std::to_string(tandas.back().size() + 1)) << l;
            EXPECT_TRUE(tandas.back().insert(p[4]).second) << "repeated " << l;
            EXPECT_GE(std::stoull(p[6]), nodosActuales) << l;
            nodosActuales = std::stoull(p[6]);
            continue;
        }
        ASSERT_TRUE(empiezaPor(l, "info depth ") && p.size() >= 16) << l;
        EXPECT_EQ(l, unida);
        EXPECT_EQ(p[3] + p[5] + p[7] + p[9] + p[11] + p[14], "timenodesnpshashfullscorepv") << l;
        for (std::size_t k : {2, 4, 6, 8, 10}) EXPECT_TRUE(esNumero(p[k])) << l;
        EXPECT_TRUE(p[12] == "cp" || p[12] == "mate") << l;
        EXPECT_TRUE(esNumero(p[13][0] == '-' ? p[13].substr(1) : p[13])) << l;
        for (std::size_t k = 15; k < p.size(); ++k) EXPECT_TRUE(esJugada(p[k])) << l;
        const uint64_t profundidad = std::stoull(p[2]), t = std::stoull(p[4]),
                       nodos = std::stoull(p[6]), nps = std::stoull(p[8]);
        EXPECT_TRUE(profundidad == profundidadAnterior || profundidad == profundidadAnterior + 1)
            << l;
        EXPECT_TRUE(profundidad > 4 || tandas.empty()) << l;
        EXPECT_GE(nodos, nodosAnteriores) << l;
        EXPECT_LE(std::stoi(p[10]), 1000) << l;
        // nps uses a reading of the clock taken just before the one printed as "time".
        bool coherente = false;
        for (uint64_t antes = t >= 3 ? t - 3 : 0; antes <= t; ++antes)
            coherente = coherente || nps == nodos * 1000 / (antes + 1);
        EXPECT_TRUE(coherente) << l;
        profundidadAnterior = profundidad;
        nodosAnteriores = nodos;
        pv = p[15];
    }
    EXPECT_EQ(profundidadAnterior, 6u);
    EXPECT_EQ(lineas.back(), "bestmove " + pv);
    ASSERT_EQ(tandas.size(), 2u);
    EXPECT_EQ(tandas[0].size(), 20u);
    EXPECT_EQ(tandas[0], tandas[1]);
}

TEST(LineasInfo, PuntuacionesDeMate) {
    const struct {
        const char* fen;
        const char* go;
        const char* puntuacion;
        const char* mejor; // empty when more than one move mates as fast
    } casos[] = {{"6k1/5ppp/8/8/8/8/5PPP/R5K1 w", "go depth 3", "score mate 1 pv a1a8 ", "a1a8"},
                 {"k7/8/2K5/8/8/8/8/7R w", "go depth 5", "score mate 2 pv ", ""},
                 {"k7/8/1K6/8/8/8/8/7R b", "go depth 4", "score mate -1 pv a8b8 h1h8 ", "a8b8"},
                 {"k7/8/1K6/8/8/8/2R5/8 b", "go depth 6", "score mate -2 pv a8b8 ", "a8b8"}};
    SesionUCI m(false);
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.fen);
        m.enviar("ucinewgame");
        m.enviar(std::string("position fen ") + caso.fen + " - - 0 1");
        const Lineas info = m.buscar(caso.go);
        const std::string ultimaDepth = ultima(soloInfoDepth(info));
        EXPECT_NE(ultimaDepth.find(caso.puntuacion), std::string::npos) << ultimaDepth;
        if (*caso.mejor) {
            EXPECT_EQ(ultima(info), std::string("bestmove ") + caso.mejor);
        } else { // A mate in two: three moves of pv.
            EXPECT_EQ(palabras(ultimaDepth.substr(ultimaDepth.find(" pv "))).size(), 4u);
        }
    }
}

// The summary of an empty root: nothing searched, the root probed in each of four iterations.
Lineas resumenVacio(const std::string& generados, const std::string& jaques) {
    return lineasDe(
        "NODOS: Totales: 0 Qsearch: 0\nMOVIMIENTOS GENERADOS: " + generados +
        "\nEXTENSIONES: Jaque: " + jaques +
        " Amenaza Mate: 0 Respuesta Unica Jaque: 0\nORDENADO MOVIMIENTOS: 0%\n"
        "HASH: Probes: 4 Hits: 0 Stores: 0\nHASH CUTS: Alpha: 0 Beta: 0 Exacto: 0\n"
        "PODADOS: SEE: 0\nNULLMOVE: Intentos: 0 CutsMAX: 0 CutsMIN: 0\nbestmove xxxx\n");
}

TEST(RaizSinMovimientos, MateYAhogadoDanXxxxSinInfo) {
    const std::string mate =
        "position fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3";
    const std::string ahogado = "position fen k7/8/1Q6/8/8/8/8/2K5 b - - 0 1";
    SesionUCI m;
    m.enviar(mate);
    EXPECT_EQ(m.buscar("go depth 4"), resumenVacio("Capturas: 0 NoCapturas: 0 Evasiones: 4", "4"));
    m.enviar(ahogado);
    EXPECT_EQ(m.buscar("go depth 4"), resumenVacio("Capturas: 4 NoCapturas: 4 Evasiones: 0", "0"));
    // Without a depth the 99 empty iterations end by themselves.
    m.enviar("setoption name Resumen Busqueda value false");
    m.enviar(mate);
    EXPECT_EQ(m.buscar("go infinite"), Lineas{"bestmove xxxx"});
    m.enviar(ahogado);
    EXPECT_EQ(m.buscar("go wtime 1000"), Lineas{"bestmove xxxx"});
    comprobarListo(m);
}

TEST(Limites, GoSinPalabrasYSinValoresYPresupuestoCero) {
    SesionUCI m(false);
    // No words: no search at all.
    for (const char* go : {"go", "go "}) {
        m.enviar(go);
        comprobarListo(m);
    }
    // "wtime" without its value: a budget of nothing, but still a move.
    auto inicio = Reloj::now();
    EXPECT_NE(ultima(m.buscar("go wtime", 3000)), "bestmove xxxx");
    EXPECT_LT(milisegundosDesde(inicio), escalado(1000));
    comprobarListo(m);
    // With a depth the clock is not looked at: a zero budget still gives every iteration.
    const Lineas tres = soloInfoDepth(m.buscar("go depth 3"));
    EXPECT_TRUE(empiezaPor(tres.at(0), "info depth 1 ") &&
                empiezaPor(ultima(tres), "info depth 3 "));
    // Seven plies pass several periodic checks with a budget of 0 ms.
    const Lineas siete = soloInfoDepth(m.buscar("go depth 7 wtime 1 btime 1 movetime 1"));
    std::set<std::string> profundidades;
    for (const std::string& l : siete) profundidades.insert(palabras(l)[2]);
    EXPECT_EQ(profundidades, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7"}));

    inicio = Reloj::now();
    EXPECT_FALSE(m.buscar("go movetime 200", 3000).empty());
    const int64_t transcurrido = milisegundosDesde(inicio);
    EXPECT_GE(transcurrido, 190);
    EXPECT_LE(transcurrido, 200 + escalado(150));
}

// The line with every number, decimals included, masked as "#".
std::string sinCifras(const std::string& linea) {
    std::string r;
    for (std::size_t i = 0; i < linea.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(linea[i]))) {
            r += linea[i];
            continue;
        }
        r += '#';
        while (i + 1 < linea.size() &&
               (std::isdigit(static_cast<unsigned char>(linea[i + 1])) || linea[i + 1] == '.'))
            ++i;
    }
    return r;
}

// Eight summary lines between the info lines and "bestmove" ("Opciones" in the UCI tests shows
// them off, "Determinismo" their counts starting from 0 for every search).
TEST(Resumen, OchoLineasAntesDeBestmove) {
    SesionUCI m;
    m.enviar(MedioJuego);
    Lineas lineas = m.buscar("go depth 4");
    ASSERT_GE(lineas.size(), 10u);
    lineas.pop_back();
    for (std::size_t i = 0; i + 8 < lineas.size(); ++i)
        EXPECT_TRUE(empiezaPor(lineas[i], "info ")) << lineas[i];
    std::string formas;
    for (std::size_t i = lineas.size() - 8; i < lineas.size(); ++i)
        formas += sinCifras(lineas[i]) + '\n';
    EXPECT_EQ(formas, "NODOS: Totales: # Qsearch: #\n"
                      "MOVIMIENTOS GENERADOS: Capturas: # NoCapturas: # Evasiones: #\n"
                      "EXTENSIONES: Jaque: # Amenaza Mate: # Respuesta Unica Jaque: #\n"
                      "ORDENADO MOVIMIENTOS: #%\nHASH: Probes: # Hits: # Stores: #\n"
                      "HASH CUTS: Alpha: # Beta: # Exacto: #\nPODADOS: SEE: #\n"
                      "NULLMOVE: Intentos: # CutsMAX: # CutsMIN: #\n");
}

TEST(DuranteLaBusqueda, IsreadyStopYQuit) {
    SesionUCI m(false);
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m.enviar("isready");
    for (const std::string& l : m.hasta("readyok")) EXPECT_FALSE(empiezaPor(l, "bestmove")) << l;

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto inicio = Reloj::now();
    m.enviar("stop");
    const Lineas final = m.hasta("bestmove ", 2000);
    EXPECT_LE(milisegundosDesde(inicio), escalado(100));
    EXPECT_NE(ultima(final), "bestmove xxxx");
    // Exactly one "bestmove": nothing else is pending, and a later "stop" prints nothing.
    m.enviar("stop");
    comprobarListo(m);

    // "quit" during a search: the "bestmove" and nothing more, then status 0.
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m.enviar("quit");
    EXPECT_FALSE(m.hasta("bestmove ").empty());
    Lineas resto;
    EXPECT_TRUE(m.proceso.leerHastaFin(resto));
    EXPECT_EQ(resto, Lineas{});
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

TEST(DuranteLaBusqueda, PositionYGoEsperanAlBestmove) {
    SesionUCI m(false);
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (const char* linea : {"position startpos moves e2e4", "tablero", "go depth 2", "stop"})
        m.enviar(linea);
    const Lineas primera = m.hasta("bestmove ");
    for (std::size_t i = 0; i + 1 < primera.size(); ++i)
        EXPECT_TRUE(empiezaPor(primera[i], "info ")) << primera[i];
    const std::string blancas = "a2a3 a2a4 b2b3 b2b4 c2c3 c2c4 d2d3 d2d4 e2e3 e2e4 f2f3 f2f4 "
                                "g2g3 g2g4 h2h3 h2h4 b1a3 b1c3 g1f3 g1h3 ";
    ASSERT_FALSE(primera.empty());
    EXPECT_NE(blancas.find(primera.back().substr(9) + ' '), std::string::npos) << primera.back();

    const Lineas tablero = m.hasta("Historial: ");
    EXPECT_EQ(ultima(tablero), "Historial: e2e4 ");
    EXPECT_EQ(tablero.size() >= 13 ? tablero[tablero.size() - 13] : "", "Lado Que Mueve: Negras");

    const Lineas segunda = m.hasta("bestmove ");
    EXPECT_TRUE(empiezaPor(ultima(soloInfoDepth(segunda)), "info depth 2 "));
    const std::string negra = ultima(segunda) + "    ";
    EXPECT_TRUE(negra[10] == '7' || negra[10] == '8') << negra;
    comprobarListo(m);
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
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m.enviar("stop");
        const Lineas lineas = m.hasta("bestmove", 5000);
        ASSERT_FALSE(lineas.empty());
        if (std::string(go) == "go depth -1") {
            EXPECT_EQ(lineas, Lineas{"bestmove xxxx"});
        }
        comprobarListo(m);
    }
    m.enviar("quit");
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

} // namespace
