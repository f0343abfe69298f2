#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "apoyo/motor_prueba.h"
#include "apoyo/proceso.h"
#include "consola/consola.h"
#include "consola/consola_uci.h"
#include "consola/plataforma.h"
#include "uci/opciones.h"

namespace {

using namespace std::chrono_literals;

// Standard input replaced by a pipe holding the given bytes, restored on destruction.
class EntradaSustituida {
  public:
    explicit EntradaSustituida(const std::string& bytes, bool cerrar = true) {
        guardada = dup(STDIN_FILENO);
        int extremos[2];
        EXPECT_EQ(pipe(extremos), 0);
        dup2(extremos[0], STDIN_FILENO);
        close(extremos[0]);
        escritura = extremos[1];
        // The test inputs fit in the pipe buffer, so the write cannot block.
        EXPECT_EQ(write(escritura, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        if (cerrar) cerrarEscritura();
        std::clearerr(stdin);
    }
    ~EntradaSustituida() {
        cerrarEscritura();
        dup2(guardada, STDIN_FILENO);
        close(guardada);
        std::clearerr(stdin);
    }
    void cerrarEscritura() {
        if (escritura >= 0) close(escritura);
        escritura = -1;
    }

  private:
    int guardada = -1;
    int escritura = -1;
};

// Bytes still unread in standard input.
int bytesSinLeer() {
    int n = -1;
    ioctl(STDIN_FILENO, FIONREAD, &n);
    return n;
}

// Runs the console loop with a deadline; a hang aborts the test program instead of hanging it.
void ejecutarConPlazo(Consola& consola) {
    std::promise<void> fin;
    std::future<void> terminado = fin.get_future();
    std::thread hilo([&] {
        consola.ejecutar();
        fin.set_value();
    });
    if (terminado.wait_for(Proceso::escalar(5000ms)) != std::future_status::ready) {
        std::fprintf(stderr, "the console loop did not end within the deadline\n");
        std::abort();
    }
    hilo.join();
}

// Records every line it is given; ends on "quit", as the real console does.
class ConsolaRegistro : public Consola {
  public:
    void procesarLinea() override {
        lineas.push_back(linea);
        if (alProcesar) alProcesar();
        if (linea == "quit") salir = true;
        liberarLector();
    }

    std::vector<std::string> lineas;
    std::function<void()> alProcesar;
};

TEST(Evento, NoSenaladoAlCrearse) {
    Evento e;
    EXPECT_FALSE(e.probar());
}

TEST(Evento, ReinicioAutomaticoYSinCuenta) {
    Evento e;
    e.senalar();
    e.senalar();
    EXPECT_TRUE(e.probar());
    EXPECT_FALSE(e.probar()) << "two signals must not be counted as two";
    e.senalar();
    e.esperar();
    EXPECT_FALSE(e.probar()) << "a wait must consume the signal";
    e.senalar();
    e.reiniciar();
    EXPECT_FALSE(e.probar());
}

TEST(Evento, DespiertaAUnHiloQueEspera) {
    Evento listo;
    Evento respuesta;
    std::thread otro([&] {
        listo.esperar();
        respuesta.senalar();
    });
    listo.senalar();
    respuesta.esperar();
    otro.join();
    EXPECT_FALSE(listo.probar());
    EXPECT_FALSE(respuesta.probar());
}

TEST(Plataforma, TicksMonotonosEnMilisegundos) {
    const uint32_t antes = ticksMilisegundos();
    std::this_thread::sleep_for(30ms);
    const uint32_t despues = ticksMilisegundos();
    // Unsigned difference, so that it holds across a wrap of the counter too.
    const uint32_t transcurrido = despues - antes;
    EXPECT_GE(transcurrido, 29u);
    EXPECT_LT(transcurrido, 5000u);
}

TEST(Plataforma, FalloForzadoAfectaSoloAlSiguienteHilo) {
    forzarFalloProximoHilo(77u);
    Hilo fallido;
    bool ejecutado = false;
    EXPECT_EQ(fallido.iniciar([&] { ejecutado = true; }), 77u);
    fallido.esperarFin();
    EXPECT_FALSE(ejecutado);

    Hilo bueno;
    EXPECT_EQ(bueno.iniciar([&] { ejecutado = true; }), 0u);
    bueno.esperarFin();
    EXPECT_TRUE(ejecutado);
}

TEST(Lector, LineasCompletasSinFinDeLineaYFinDeEntradaComoQuit) {
    const std::string larga(5000, 'k');
    EntradaSustituida entrada("uno\r\ndos\n\r\n  \n" + larga + "\r\nsin fin de linea");
    ConsolaRegistro consola;
    ejecutarConPlazo(consola);
    const std::vector<std::string> esperadas = {"uno", "dos", "", "  ", larga, "quit"};
    EXPECT_EQ(consola.lineas, esperadas);
}

TEST(Lector, SoloSeQuitaUnRetornoFinalYNadaMas) {
    EntradaSustituida entrada(std::string("a\r\r\nb\rc\n\r\nd\0e\n", 14));
    ConsolaRegistro consola;
    ejecutarConPlazo(consola);
    const std::vector<std::string> esperadas = {"a\r", "b\rc", "", std::string("d\0e", 3), "quit"};
    EXPECT_EQ(consola.lineas, esperadas);
}

TEST(Lector, LineaLargaEnElLimiteDeLosTrozos) {
    // 1023 characters fill one read exactly; the line end then arrives in a read of its own.
    const std::string justa(1023, 'j');
    const std::string doble(2046, 'd');
    EntradaSustituida entrada(justa + "\n" + doble + "\r\n" + justa + "\rquit\n");
    ConsolaRegistro consola;
    ejecutarConPlazo(consola);
    // Compared one by one so that a failure does not print every line.
    ASSERT_EQ(consola.lineas.size(), 4u);
    EXPECT_TRUE(consola.lineas[0] == justa);
    EXPECT_TRUE(consola.lineas[1] == doble);
    EXPECT_TRUE(consola.lineas[2] == justa + "\rquit");
    EXPECT_EQ(consola.lineas[3], "quit");
}

TEST(Lector, QuitDetieneLaLecturaDeLoQueSigue) {
    EntradaSustituida entrada("uno\nquit\ndos\n");
    ConsolaRegistro consola;
    ejecutarConPlazo(consola);
    EXPECT_EQ(consola.lineas, (std::vector<std::string>{"uno", "quit"}));
    EXPECT_EQ(bytesSinLeer(), 4) << "the reader read past the quit line";
}

TEST(Lector, NoLeeLaLineaSiguienteHastaLaLiberacion) {
    EntradaSustituida entrada("uno\ndos\ntres\n");
    ConsolaRegistro consola;
    std::vector<int> sinLeer;
    std::vector<bool> lineaIntacta;
    consola.alProcesar = [&] {
        const std::string copia = consola.linea;
        // Room for a reader that does not wait for the release to show itself.
        std::this_thread::sleep_for(20ms);
        sinLeer.push_back(bytesSinLeer());
        lineaIntacta.push_back(copia == consola.linea);
    };
    ejecutarConPlazo(consola);
    EXPECT_EQ(consola.lineas, (std::vector<std::string>{"uno", "dos", "tres", "quit"}));
    EXPECT_EQ(sinLeer, (std::vector<int>{9, 5, 0, 0}));
    EXPECT_EQ(lineaIntacta, (std::vector<bool>{true, true, true, true}));
}

// The road of a search: the handler releases the reader itself, polls for the next line and
// executes it at once, and returns without a second release.
class ConsolaBusqueda : public Consola {
  public:
    void procesarLinea() override {
        lineas.push_back(std::string(profundidad, '>') + linea);
        if (linea == "quit") salir = true;
        if (linea != "go") {
            liberarLector();
            return;
        }
        liberarLector();
        const auto limite = std::chrono::steady_clock::now() + Proceso::escalar(5000ms);
        while (!hayLineaPendiente()) {
            if (std::chrono::steady_clock::now() > limite) return;
            std::this_thread::sleep_for(1ms);
        }
        senalConsumida = !hayLineaPendiente();
        ++profundidad;
        procesarLinea();
        --profundidad;
    }

    std::vector<std::string> lineas;
    bool senalConsumida = false;
    std::size_t profundidad = 0;
};

TEST(Lector, LineaDuranteLaBusquedaSeAtiendeDesdeDentro) {
    EntradaSustituida entrada("go\nstop\ndespues\n");
    ConsolaBusqueda consola;
    ejecutarConPlazo(consola);
    EXPECT_EQ(consola.lineas, (std::vector<std::string>{"go", ">stop", "despues", "quit"}));
    EXPECT_TRUE(consola.senalConsumida);
}

TEST(Lector, QuitDuranteLaBusquedaTerminaElBucle) {
    EntradaSustituida entrada("go\nquit\nnunca\n");
    ConsolaBusqueda consola;
    ejecutarConPlazo(consola);
    EXPECT_EQ(consola.lineas, (std::vector<std::string>{"go", ">quit"}));
}

TEST(Lector, HayLineaPendienteSinLineaDaFalso) {
    ConsolaRegistro consola;
    EXPECT_FALSE(consola.hayLineaPendiente());
    consola.eventoLineaLista.senalar();
    EXPECT_TRUE(consola.hayLineaPendiente());
    EXPECT_FALSE(consola.hayLineaPendiente());
}

// The real command table with recording commands put in front of it.
class ConsolaUCIPrueba : public ConsolaUCI {
  public:
    ConsolaUCIPrueba() {
        poner(1, "position", &ConsolaUCIPrueba::registrar, false);
        poner(2, "go", &ConsolaUCIPrueba::registrar, true);
        poner(3, "position", &ConsolaUCIPrueba::registrarOtro, false);
    }

    void registrar(const std::string& argumentos) { llamadas.push_back(argumentos); }
    void registrarOtro(const std::string& argumentos) { llamadas.push_back("otro:" + argumentos); }

    // Runs one line; tells whether the dispatcher released the reader.
    bool despachar(const std::string& texto) {
        eventoLineaProcesada.reiniciar();
        linea = texto;
        procesarLinea();
        const bool liberado = eventoLineaProcesada.probar();
        return liberado;
    }

    std::vector<std::string> llamadas;

  private:
    void poner(std::size_t posicion, const char* nombre,
               void (ConsolaUCIPrueba::*manejador)(const std::string&), bool liberaLector) {
        comandos.insert(
            comandos.begin() + static_cast<std::ptrdiff_t>(posicion - 1),
            std::unique_ptr<Comando>(new Comando{
                *this, nombre, static_cast<ManejadorComando>(manejador), liberaLector}));
    }
};

TEST(Despacho, TablaDeComandosEnOrdenYOpciones) {
    ConsolaUCI consola;
    const std::vector<std::string> nombres = {
        "quit", "ucinewgame",    "uci",     "isready",   "position",  "go",
        "stop", "setoption",     "tablero", "bitboards", "listamovs", "eval",
        "move", "position_test", "see",     "perft",     "divide"};
    ASSERT_EQ(consola.comandos.size(), nombres.size());
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        EXPECT_EQ(consola.comandos[i]->nombre, nombres[i]);
        EXPECT_EQ(consola.comandos[i]->liberaLector, nombres[i] == "go") << nombres[i];
        EXPECT_EQ(&consola.comandos[i]->consola, &consola);
    }
    ASSERT_EQ(consola.opciones.size(), 4u);
    EXPECT_EQ(consola.opciones[0]->nombre, "Hash");
    EXPECT_EQ(consola.opciones[1]->nombre, "Clear Hash");
    EXPECT_EQ(consola.opciones[2]->nombre, "UCI_EngineAbout");
    EXPECT_EQ(consola.opciones[3]->nombre, "Resumen Busqueda");
    EXPECT_TRUE(consola.linea.empty());
}

TEST(Despacho, TextoDeArgumentos) {
    ConsolaUCIPrueba consola;
    EXPECT_TRUE(consola.despachar("position  startpos"));
    EXPECT_TRUE(consola.despachar("position"));
    EXPECT_TRUE(consola.despachar("position "));
    EXPECT_TRUE(consola.despachar("position startpos moves e2e4 e7e5"));
    EXPECT_TRUE(consola.despachar("position fen  8/8 w  "));
    const std::vector<std::string> esperadas = {" startpos", "", "", "startpos moves e2e4 e7e5",
                                                "fen  8/8 w  "};
    EXPECT_EQ(consola.llamadas, esperadas);
}

TEST(Despacho, PalabrasQueNoCoincidenSeIgnoranYLiberan) {
    ConsolaUCIPrueba consola;
    for (const char* texto : {"Position startpos", "POSITION", " position startpos",
                              "position\tstartpos", "positions", "", "   ", "desconocido 1 2"})
        EXPECT_TRUE(consola.despachar(texto)) << "not released: '" << texto << "'";
    EXPECT_TRUE(consola.llamadas.empty());
    EXPECT_FALSE(consola.salir);
}

TEST(Despacho, LaPrimeraEntradaGanaYGoNoLibera) {
    ConsolaUCIPrueba consola;
    EXPECT_FALSE(consola.despachar("go"));
    EXPECT_FALSE(consola.despachar("go depth 5"));
    EXPECT_TRUE(consola.despachar("position x"));
    EXPECT_EQ(consola.llamadas, (std::vector<std::string>{"", "depth 5", "x"}));
}

TEST(Despacho, QuitActivaSalirConOSinArgumentos) {
    ConsolaUCIPrueba uno;
    uno.motor = &motorDePrueba();
    EXPECT_TRUE(uno.despachar("quit"));
    EXPECT_TRUE(uno.salir);
    ConsolaUCIPrueba dos;
    dos.motor = &motorDePrueba();
    EXPECT_TRUE(dos.despachar("quit ya"));
    EXPECT_TRUE(dos.salir);
    ConsolaUCIPrueba tres;
    EXPECT_TRUE(tres.despachar("quit\r"));
    EXPECT_FALSE(tres.salir);
}

TEST(Despacho, ArgumentosTrasLaPalabra) {
    EXPECT_EQ(textoArgumentos("go", 2), "");
    EXPECT_EQ(textoArgumentos("go ", 2), "");
    EXPECT_EQ(textoArgumentos("go  x", 2), " x");
    EXPECT_EQ(textoArgumentos("", 0), "");
    EXPECT_EQ(textoArgumentos(" uci", 0), "uci");
}

TEST(ConsolaDeathTest, FalloAlIniciarElLectorTerminaConUno) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            EntradaSustituida entrada("uno\n");
            ConsolaRegistro consola;
            forzarFalloProximoHilo(4000000000u);
            consola.ejecutar();
        },
        ::testing::ExitedWithCode(1), "CreateThread Failed = 4000000000\n");
}

} // namespace
