#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "apoyo/proceso.h"

namespace {

using Reloj = std::chrono::steady_clock;
using Lineas = std::vector<std::string>;

const char* const FenMateEnUno = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";
const char* const FenMateEnDos = "k7/8/2K5/8/8/8/8/7R w - - 0 1";
const char* const FenMateRecibidoEnUno = "k7/8/1K6/8/8/8/8/7R b - - 0 1";
const char* const FenMateRecibidoEnDos = "k7/8/1K6/8/8/8/2R5/8 b - - 0 1";
const char* const FenMateado = "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3";
const char* const FenAhogado = "k7/8/1Q6/8/8/8/8/2K5 b - - 0 1";
const char* const FenMedioJuego =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";

const char* const ResumenSinNodos[] = {"NODOS: Totales: 0 Qsearch: 0",
                                       nullptr,
                                       nullptr,
                                       "ORDENADO MOVIMIENTOS: 0%",
                                       nullptr,
                                       "HASH CUTS: Alpha: 0 Beta: 0 Exacto: 0",
                                       "PODADOS: SEE: 0",
                                       "NULLMOVE: Intentos: 0 CutsMAX: 0 CutsMIN: 0"};

const char* const PrefijosResumen[] = {"NODOS: Totales: ",     "MOVIMIENTOS GENERADOS: Capturas: ",
                                       "EXTENSIONES: Jaque: ", "ORDENADO MOVIMIENTOS: ",
                                       "HASH: Probes: ",       "HASH CUTS: Alpha: ",
                                       "PODADOS: SEE: ",       "NULLMOVE: Intentos: "};

bool empiezaPor(const std::string& linea, const std::string& prefijo) {
    return linea.compare(0, prefijo.size(), prefijo) == 0;
}

bool esInfo(const std::string& linea) {
    return empiezaPor(linea, "info ");
}

// A started engine whose start-up lines have been read.
class Sesion {
  public:
    Sesion() {
        for (int i = 0; i < 10 && proceso.iniciado(); ++i) proceso.leerLinea();
    }
    bool enviar(const std::string& linea) { return proceso.escribirLinea(linea); }
    void sinResumen() { enviar("setoption name Resumen Busqueda value false"); }

    // Every line up to and including the first that starts with the prefix; empty when the
    // deadline passes first.
    Lineas hasta(const std::string& prefijo, Proceso::Plazo plazo = Proceso::plazoPorDefecto()) {
        Lineas leidas;
        const auto fin = proceso.leerHasta(
            [&](const std::string& l) { return empiezaPor(l, prefijo); }, plazo, &leidas);
        if (!fin) {
            ADD_FAILURE() << "no line starting with \"" << prefijo << "\" in time; last read: "
                          << (leidas.empty() ? std::string("none") : leidas.back());
            return {};
        }
        return leidas;
    }
    Lineas hastaBestmove(Proceso::Plazo plazo = Proceso::plazoPorDefecto()) {
        return hasta("bestmove", plazo);
    }
    // The lines of one search started now.
    Lineas buscar(const std::string& posicion, const std::string& go) {
        enviar(posicion);
        enviar(go);
        return hastaBestmove();
    }
    // "isready" is answered at once and nothing else is pending before it.
    void comprobarListo() {
        enviar("isready");
        const auto linea = proceso.leerLinea(Proceso::escalar(Proceso::Plazo(3000)));
        ASSERT_TRUE(linea);
        EXPECT_EQ(*linea, "readyok");
    }

    Proceso proceso;
};

std::vector<std::string> palabras(const std::string& linea) {
    std::istringstream s(linea);
    std::vector<std::string> r;
    for (std::string p; s >> p;) r.push_back(p);
    return r;
}

bool esNumero(const std::string& p) {
    return !p.empty() && p.find_first_not_of("0123456789") == std::string::npos;
}

bool esNumeroConSigno(const std::string& p) {
    return esNumero(p[0] == '-' ? p.substr(1) : p);
}

bool esJugada(const std::string& p) {
    auto en = [&](std::size_t i, char a, char b) { return p[i] >= a && p[i] <= b; };
    if (p.size() != 4 && p.size() != 5) return false;
    if (!en(0, 'a', 'h') || !en(1, '1', '8') || !en(2, 'a', 'h') || !en(3, '1', '8')) return false;
    return p.size() == 4 || std::string("qrbn").find(p[4]) != std::string::npos;
}

// The line with the values of the "time" and "nps" fields blanked out.
std::string sinTiempos(const std::string& linea) {
    std::string r;
    bool ocultar = false;
    std::size_t i = 0;
    while (i < linea.size()) {
        const std::size_t fin = std::min(linea.find(' ', i), linea.size());
        const std::string palabra = linea.substr(i, fin - i);
        r += ocultar && esNumero(palabra) ? "*" : palabra;
        ocultar = palabra == "time" || palabra == "nps";
        if (fin < linea.size()) r += ' ';
        i = fin + 1;
    }
    return r;
}

Lineas sinTiempos(const Lineas& lineas) {
    Lineas r;
    for (const std::string& l : lineas) r.push_back(sinTiempos(l));
    return r;
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

TEST(Determinismo, DosProcesosDanLasMismasLineas) {
    const std::vector<std::pair<std::string, std::string>> busquedas = {
        {"position startpos", "go depth 7"},
        {std::string("position fen ") + FenMedioJuego, "go depth 5"}};
    for (const auto& b : busquedas) {
        Sesion uno;
        Sesion dos;
        const Lineas a = uno.buscar(b.first, b.second);
        const Lineas c = dos.buscar(b.first, b.second);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(sinTiempos(a), sinTiempos(c)) << b.first;
        uno.enviar("quit");
        dos.enviar("quit");
        EXPECT_EQ(uno.proceso.esperarFin(), 0);
        EXPECT_EQ(dos.proceso.esperarFin(), 0);
    }
}

TEST(Determinismo, TrasUcinewgameSeRepiteLaBusqueda) {
    Sesion m;
    const std::string posicion = std::string("position fen ") + FenMedioJuego;
    const Lineas primera = m.buscar(posicion, "go depth 5");
    // The second search in the same game uses what the table kept; it need not match.
    m.buscar(posicion, "go depth 5");
    m.enviar("ucinewgame");
    const Lineas otra = m.buscar(posicion, "go depth 5");
    ASSERT_FALSE(primera.empty());
    EXPECT_EQ(sinTiempos(primera), sinTiempos(otra));
    m.enviar("ucinewgame");
    EXPECT_EQ(sinTiempos(m.buscar("position startpos", "go depth 6")),
              sinTiempos(Sesion().buscar("position startpos", "go depth 6")));
}

TEST(LineasInfo, FormatoDeInfoDepth) {
    Sesion m;
    m.sinResumen();
    const Lineas lineas = m.buscar(std::string("position fen ") + FenMedioJuego, "go depth 6");
    ASSERT_FALSE(lineas.empty());
    static const char* const Rotulos[] = {"info",  "depth", nullptr, "time",     nullptr, "nodes",
                                          nullptr, "nps",   nullptr, "hashfull", nullptr, "score"};
    int32_t profundidadAnterior = 0;
    uint64_t nodosAnteriores = 0;
    std::string ultimaPv;
    for (std::size_t i = 0; i + 1 < lineas.size(); ++i) {
        const std::string& l = lineas[i];
        ASSERT_TRUE(esInfo(l)) << l;
        if (!empiezaPor(l, "info depth ")) continue;
        const std::vector<std::string> p = palabras(l);
        ASSERT_GE(p.size(), 16u) << l;
        for (std::size_t k = 0; k < 12; ++k) {
            if (Rotulos[k]) {
                EXPECT_EQ(p[k], Rotulos[k]) << l;
            } else {
                EXPECT_TRUE(esNumero(p[k])) << l;
            }
        }
        EXPECT_TRUE(p[12] == "cp" || p[12] == "mate") << l;
        EXPECT_TRUE(esNumeroConSigno(p[13])) << l;
        EXPECT_EQ(p[14], "pv") << l;
        std::string pv;
        for (std::size_t k = 15; k < p.size(); ++k) {
            EXPECT_TRUE(esJugada(p[k])) << l;
            pv += p[k] + ' ';
        }
        // Single blanks throughout, and one after the last move of the line.
        std::string rehecha;
        for (std::size_t k = 0; k < 15; ++k) rehecha += p[k] + ' ';
        EXPECT_EQ(l, rehecha + pv);

        const int32_t profundidad = std::stoi(p[2]);
        const uint64_t t = std::stoull(p[4]);
        const uint64_t nodos = std::stoull(p[6]);
        const uint64_t nps = std::stoull(p[8]);
        EXPECT_TRUE(profundidad == profundidadAnterior || profundidad == profundidadAnterior + 1)
            << l;
        EXPECT_GE(nodos, nodosAnteriores) << l;
        EXPECT_LE(std::stoi(p[10]), 1000) << l;
        // nps uses a reading of the clock taken just before the one printed as "time".
        bool coherente = false;
        for (uint64_t antes = t >= 3 ? t - 3 : 0; antes <= t; ++antes)
            coherente = coherente || nps == nodos * 1000 / (antes + 1);
        EXPECT_TRUE(coherente) << l;
        profundidadAnterior = profundidad;
        nodosAnteriores = nodos;
        ultimaPv = pv;
    }
    EXPECT_EQ(profundidadAnterior, 6);
    EXPECT_EQ(lineas.back(), "bestmove " + palabras(ultimaPv).front());
}

// The root moves of startpos are numbered 1 to 20 in iterations 5 and 6 and never before.
TEST(LineasInfo, CurrmovenumberDesdeLaIteracionCinco) {
    Sesion m;
    m.sinResumen();
    const Lineas lineas = m.buscar("position startpos", "go depth 6");
    ASSERT_FALSE(lineas.empty());
    std::size_t ultimaDepth4 = 0;
    for (std::size_t i = 0; i < lineas.size(); ++i)
        if (empiezaPor(lineas[i], "info depth 4 ")) ultimaDepth4 = i;
    ASSERT_GT(ultimaDepth4, 0u);

    std::vector<std::set<std::string>> tandas;
    int32_t esperado = 1;
    uint64_t nodosAnteriores = 0;
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        if (!empiezaPor(lineas[i], "info currmovenumber ")) continue;
        EXPECT_GT(i, ultimaDepth4) << lineas[i];
        const std::vector<std::string> p = palabras(lineas[i]);
        ASSERT_EQ(p.size(), 7u) << lineas[i];
        ASSERT_EQ(lineas[i],
                  "info currmovenumber " + p[2] + " currmove " + p[4] + " nodes " + p[6]);
        ASSERT_TRUE(esNumero(p[2]) && esJugada(p[4]) && esNumero(p[6])) << lineas[i];
        const int32_t numero = std::stoi(p[2]);
        if (numero == 1) {
            tandas.emplace_back();
            esperado = 1;
        }
        ASSERT_FALSE(tandas.empty());
        EXPECT_EQ(numero, esperado) << lineas[i];
        ++esperado;
        EXPECT_TRUE(tandas.back().insert(p[4]).second) << "repeated " << lineas[i];
        EXPECT_GE(std::stoull(p[6]), nodosAnteriores);
        nodosAnteriores = std::stoull(p[6]);
    }
    ASSERT_EQ(tandas.size(), 2u);
    EXPECT_EQ(tandas[0].size(), 20u);
    EXPECT_EQ(tandas[0], tandas[1]);
}

TEST(LineasInfo, ProfundidadUnoSinLineasDeMovimientoActual) {
    Sesion m;
    m.sinResumen();
    const Lineas lineas = m.buscar("position startpos", "go depth 1");
    ASSERT_GE(lineas.size(), 2u);
    for (std::size_t i = 0; i + 1 < lineas.size(); ++i)
        EXPECT_TRUE(empiezaPor(lineas[i], "info depth 1 time ")) << lineas[i];
}

struct CasoMate {
    const char* fen;
    const char* go;
    const char* puntuacion;
    const char* mejor; // nullptr when more than one move mates as fast
};

TEST(LineasInfo, PuntuacionesDeMate) {
    const CasoMate casos[] = {
        {FenMateEnUno, "go depth 3", "score mate 1 pv a1a8 ", "a1a8"},
        {FenMateEnDos, "go depth 5", "score mate 2 pv ", nullptr},
        {FenMateRecibidoEnUno, "go depth 4", "score mate -1 pv a8b8 h1h8 ", "a8b8"},
        {FenMateRecibidoEnDos, "go depth 6", "score mate -2 pv a8b8 ", "a8b8"},
    };
    Sesion m;
    m.sinResumen();
    for (const CasoMate& caso : casos) {
        m.enviar("ucinewgame");
        const Lineas info = m.buscar(std::string("position fen ") + caso.fen, caso.go);
        ASSERT_GE(info.size(), 2u) << caso.fen;
        const Lineas depth = soloInfoDepth(info);
        ASSERT_FALSE(depth.empty()) << caso.fen;
        const std::string& ultima = depth.back();
        EXPECT_NE(ultima.find(caso.puntuacion), std::string::npos) << caso.fen << ": " << ultima;
        if (caso.mejor) {
            EXPECT_EQ(info.back(), std::string("bestmove ") + caso.mejor);
        }
    }
    const Lineas dos =
        soloInfoDepth(m.buscar(std::string("position fen ") + FenMateEnDos, "go depth 5"));
    ASSERT_FALSE(dos.empty());
    const std::string pv = dos.back().substr(dos.back().find(" pv ") + 4);
    EXPECT_EQ(palabras(pv).size(), 3u) << pv;
}

TEST(RaizSinMovimientos, MateYAhogadoDanXxxxSinInfo) {
    Sesion m;
    const Lineas mate = m.buscar(std::string("position fen ") + FenMateado, "go depth 4");
    const Lineas ahogado = m.buscar(std::string("position fen ") + FenAhogado, "go depth 4");
    for (const Lineas* lineas : {&mate, &ahogado}) {
        ASSERT_EQ(lineas->size(), 9u);
        EXPECT_EQ(lineas->back(), "bestmove xxxx");
        for (int i = 0; i < 8; ++i)
            if (ResumenSinNodos[i]) {
                EXPECT_EQ((*lineas)[i], ResumenSinNodos[i]);
            }
    }
    // Four iterations: the root is probed in each, and generates its evasions or its moves.
    EXPECT_EQ(mate[1], "MOVIMIENTOS GENERADOS: Capturas: 0 NoCapturas: 0 Evasiones: 4");
    EXPECT_EQ(mate[2], "EXTENSIONES: Jaque: 4 Amenaza Mate: 0 Respuesta Unica Jaque: 0");
    EXPECT_EQ(mate[4], "HASH: Probes: 4 Hits: 0 Stores: 0");
    EXPECT_EQ(ahogado[1], "MOVIMIENTOS GENERADOS: Capturas: 4 NoCapturas: 4 Evasiones: 0");
    EXPECT_EQ(ahogado[2], "EXTENSIONES: Jaque: 0 Amenaza Mate: 0 Respuesta Unica Jaque: 0");
    EXPECT_EQ(ahogado[4], "HASH: Probes: 4 Hits: 0 Stores: 0");

    // Without a depth the 99 empty iterations end by themselves.
    m.sinResumen();
    EXPECT_EQ(m.buscar(std::string("position fen ") + FenMateado, "go infinite"),
              Lineas{"bestmove xxxx"});
    EXPECT_EQ(m.buscar(std::string("position fen ") + FenAhogado, "go wtime 1000"),
              Lineas{"bestmove xxxx"});
    m.comprobarListo();
}

TEST(Limites, GoSinPalabrasNoImprimeNada) {
    Sesion m;
    m.enviar("go");
    m.comprobarListo();
    m.enviar("go ");
    m.comprobarListo();
}

TEST(Limites, GoWtimeSinValorTerminaEnSeguida) {
    Sesion m;
    m.enviar("position startpos");
    const auto inicio = Reloj::now();
    m.enviar("go wtime");
    const Lineas lineas = m.hastaBestmove(Proceso::escalar(Proceso::Plazo(3000)));
    ASSERT_FALSE(lineas.empty());
    EXPECT_NE(lineas.back(), "bestmove xxxx");
    EXPECT_LT(milisegundosDesde(inicio), Proceso::escalar(Proceso::Plazo(1000)).count());
    m.comprobarListo();
}

TEST(Limites, ConProfundidadNoSeMiraElReloj) {
    Sesion m;
    m.sinResumen();
    const Lineas tres = soloInfoDepth(m.buscar("position startpos", "go depth 3"));
    ASSERT_FALSE(tres.empty());
    EXPECT_EQ(tres.front().substr(0, 13), "info depth 1 ");
    EXPECT_EQ(tres.back().substr(0, 13), "info depth 3 ");
    // Seven plies pass several periodic checks with a budget of 0 ms.
    const Lineas siete =
        soloInfoDepth(m.buscar("position startpos", "go depth 7 wtime 1 btime 1 movetime 1"));
    ASSERT_FALSE(siete.empty());
    EXPECT_EQ(siete.back().substr(0, 13), "info depth 7 ");
    std::set<std::string> profundidades;
    for (const std::string& l : siete) profundidades.insert(palabras(l)[2]);
    EXPECT_EQ(profundidades.size(), 7u);
}

TEST(Limites, MovetimeSeRespeta) {
    Sesion m;
    m.sinResumen();
    m.enviar("position startpos");
    m.comprobarListo();
    const auto inicio = Reloj::now();
    m.enviar("go movetime 200");
    const Lineas lineas = m.hastaBestmove(Proceso::escalar(Proceso::Plazo(3000)));
    const int64_t transcurrido = milisegundosDesde(inicio);
    ASSERT_FALSE(lineas.empty());
    EXPECT_GE(transcurrido, 190);
    EXPECT_LE(transcurrido, 200 + Proceso::escalar(Proceso::Plazo(150)).count());
}

TEST(Resumen, OchoLineasAntesDeBestmoveYSeApaga) {
    Sesion m;
    auto comprobarResumen = [](const Lineas& lineas) {
        ASSERT_GE(lineas.size(), 10u);
        const std::size_t n = lineas.size();
        EXPECT_TRUE(esInfo(lineas[n - 10])) << lineas[n - 10];
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_TRUE(empiezaPor(lineas[n - 9 + i], PrefijosResumen[i])) << lineas[n - 9 + i];
        EXPECT_EQ(lineas[n - 6].back(), '%');
    };
    comprobarResumen(m.buscar("position startpos", "go depth 4"));

    m.sinResumen();
    const Lineas sin = m.buscar("position startpos", "go depth 4");
    ASSERT_GE(sin.size(), 2u);
    for (std::size_t i = 0; i + 1 < sin.size(); ++i) EXPECT_TRUE(esInfo(sin[i])) << sin[i];

    m.enviar("setoption name Resumen Busqueda value true");
    comprobarResumen(m.buscar("position startpos", "go depth 4"));
}

TEST(Resumen, ContadoresDesdeCeroEnCadaBusqueda) {
    Sesion m;
    auto nodos = [&] {
        m.enviar("ucinewgame");
        const Lineas l = m.buscar(std::string("position fen ") + FenMedioJuego, "go depth 4");
        return l.size() >= 9 ? l[l.size() - 9] : std::string();
    };
    const std::string primera = nodos();
    ASSERT_TRUE(empiezaPor(primera, "NODOS: Totales: ")) << primera;
    EXPECT_EQ(nodos(), primera);
    EXPECT_EQ(nodos(), primera);
}

TEST(DuranteLaBusqueda, IsreadyContestaYStopTerminaEnSeguida) {
    Sesion m;
    m.sinResumen();
    m.enviar("position startpos");
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m.enviar("isready");
    const Lineas antes = m.hasta("readyok");
    ASSERT_FALSE(antes.empty());
    for (const std::string& l : antes) EXPECT_FALSE(empiezaPor(l, "bestmove")) << l;

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto inicio = Reloj::now();
    m.enviar("stop");
    const Lineas final = m.hastaBestmove(Proceso::escalar(Proceso::Plazo(2000)));
    const int64_t transcurrido = milisegundosDesde(inicio);
    ASSERT_FALSE(final.empty());
    EXPECT_LE(transcurrido, Proceso::escalar(Proceso::Plazo(100)).count());
    EXPECT_NE(final.back(), "bestmove xxxx");

    m.enviar("isready");
    EXPECT_EQ(m.hasta("readyok"), Lineas{"readyok"});
    m.enviar("stop");
    m.comprobarListo();
}

TEST(DuranteLaBusqueda, QuitImprimeBestmoveYSale) {
    Sesion m;
    m.sinResumen();
    m.enviar("position startpos");
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m.enviar("quit");
    ASSERT_FALSE(m.hastaBestmove().empty());
    Lineas resto;
    EXPECT_TRUE(m.proceso.leerHastaFin(resto));
    EXPECT_TRUE(resto.empty());
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

TEST(DuranteLaBusqueda, PositionYGoEsperanAlBestmove) {
    Sesion m;
    m.sinResumen();
    m.enviar("position startpos");
    m.enviar("go infinite");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m.enviar("position startpos moves e2e4");
    m.enviar("tablero");
    m.enviar("go depth 2");
    m.enviar("stop");
    const Lineas primera = m.hastaBestmove();
    ASSERT_FALSE(primera.empty());
    for (const std::string& l : primera) EXPECT_TRUE(esInfo(l) || l == primera.back()) << l;
    const std::set<std::string> blancas = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3",
                                           "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4",
                                           "h2h3", "h2h4", "b1a3", "b1c3", "g1f3", "g1h3"};
    EXPECT_EQ(blancas.count(primera.back().substr(9)), 1u) << primera.back();

    const Lineas tablero = m.hasta("Historial: ");
    ASSERT_FALSE(tablero.empty());
    EXPECT_EQ(tablero.back(), "Historial: e2e4 ");
    bool negras = false;
    for (const std::string& l : tablero) negras = negras || l == "Lado Que Mueve: Negras";
    EXPECT_TRUE(negras);

    const Lineas segunda = m.hastaBestmove();
    ASSERT_FALSE(segunda.empty());
    EXPECT_EQ(soloInfoDepth(segunda).back().substr(0, 13), "info depth 2 ");
    const std::string negra = segunda.back().substr(9);
    EXPECT_TRUE(negra[1] == '7' || negra[1] == '8') << negra;
    m.comprobarListo();
}

// Odd "go" lines: each ends with a "bestmove", "stop" is obeyed and "isready" answers after.
TEST(EntradaMala, GoRaroNoCuelgaNiRompe) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"go depth -1", "bestmove xxxx"}, {"go depth abc", ""},
        {"go wtime -100 btime -100", ""}, {"go movestogo -1 wtime 1000", ""},
        {"go depth 99999999", ""},        {"go nodes", ""},
        {"go mate 3 movetime 50", ""},    {"go depth 0", ""},
        {"go infinite depth", ""},        {"go searchmoves", ""},
    };
    Sesion m;
    m.sinResumen();
    m.enviar("position startpos");
    for (const auto& caso : casos) {
        m.enviar(caso.first);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m.enviar("stop");
        const Lineas lineas = m.hastaBestmove(Proceso::escalar(Proceso::Plazo(5000)));
        ASSERT_FALSE(lineas.empty()) << caso.first;
        if (!caso.second.empty()) {
            EXPECT_EQ(lineas.back(), caso.second) << caso.first;
            EXPECT_EQ(lineas.size(), 1u) << caso.first;
        }
        m.comprobarListo();
    }
    m.enviar("quit");
    EXPECT_EQ(m.proceso.esperarFin(), 0);
}

} // namespace
