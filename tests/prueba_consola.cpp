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

#include "apoyo/proceso.h"
#include "consola/consola.h"
#include "consola/consola_uci.h"
#include "consola/plataforma.h"

namespace {

using namespace std::chrono_literals;
using Lineas = std::vector<std::string>;

// Standard input replaced by a pipe holding the given bytes, restored on destruction.
class EntradaSustituida {
  public:
    explicit EntradaSustituida(const std::string& bytes) {
        guardada = dup(STDIN_FILENO);
        int extremos[2];
        EXPECT_EQ(pipe(extremos), 0);
        dup2(extremos[0], STDIN_FILENO);
        close(extremos[0]);
        // The test inputs fit in the pipe buffer, so the write cannot block.
        EXPECT_EQ(write(extremos[1], bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
        close(extremos[1]);
        std::clearerr(stdin);
    }
    ~EntradaSustituida() {
        dup2(guardada, STDIN_FILENO);
        close(guardada);
        std::clearerr(stdin);
    }

  private:
    int guardada = -1;
};

// Bytes still unread in standard input.
int bytesSinLeer() {
    int n = -1;
    ioctl(STDIN_FILENO, FIONREAD, &n);
    return n;
}

// Records every line it is given and ends on "quit", as the real console does. On "go" it
// takes the road of a search: it releases the reader itself, polls for the next line, executes
// it at once and returns without a second release.
class ConsolaRegistro : public Consola {
  public:
    void procesarLinea() override {
        lineas.push_back(std::string(profundidad, '>') + linea);
        if (alProcesar) alProcesar();
        if (linea == "quit") salir = true;
        // Read before the release: the reader then overwrites `linea`.
        const bool busqueda = linea == "go";
        liberarLector();
        if (!busqueda) return;
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

    // Runs the loop with a deadline; a hang aborts the test program instead of hanging it.
    Lineas ejecutarConPlazo() {
        std::promise<void> fin;
        std::future<void> terminado = fin.get_future();
        std::thread hilo([&] {
            ejecutar();
            fin.set_value();
        });
        if (terminado.wait_for(Proceso::escalar(5000ms)) != std::future_status::ready) {
            std::fprintf(stderr, "the console loop did not end within the deadline\n");
            std::abort();
        }
        hilo.join();
        return lineas;
    }

    Lineas lineas;
    std::function<void()> alProcesar;
    bool senalConsumida = false;
    std::size_t profundidad = 0;
};

// Auto-reset without a count: two signals wake one wait, and a wait consumes the signal, also
// between threads.
TEST(Evento, ReinicioAutomaticoSinCuentaYEntreHilos) {
    Evento e, respuesta;
    EXPECT_FALSE(e.probar()) << "signalled at creation";
    e.senalar();
    e.senalar();
    EXPECT_TRUE(e.probar());
    EXPECT_FALSE(e.probar()) << "two signals must not be counted as two";
    e.senalar();
    e.esperar();
    std::thread otro([&] {
        e.esperar();
        respuesta.senalar();
    });
    e.senalar();
    respuesta.esperar();
    otro.join();
    EXPECT_FALSE(e.probar()) << "a wait must consume the signal";
}

TEST(Plataforma, TicksYFalloForzadoSoloDelSiguienteHilo) {
    const uint32_t antes = ticksMilisegundos();
    std::this_thread::sleep_for(30ms);
    // Unsigned difference, so that it holds across a wrap of the counter too.
    const uint32_t transcurrido = ticksMilisegundos() - antes;
    EXPECT_GE(transcurrido, 29u);
    EXPECT_LT(transcurrido, 5000u);

    forzarFalloProximoHilo(77u);
    bool ejecutado = false;
    Hilo fallido, bueno;
    EXPECT_EQ(fallido.iniciar([&] { ejecutado = true; }), 77u);
    fallido.esperarFin();
    EXPECT_FALSE(ejecutado);
    EXPECT_EQ(bueno.iniciar([&] { ejecutado = true; }), 0u);
    bueno.esperarFin();
    EXPECT_TRUE(ejecutado);
}

// Lines reach the dispatcher whole, with one final "\r" taken off; a last piece without its
// line end is dropped for "quit"; a line of 1023 characters fills one read of the reader exactly.
TEST(Lector, LineasComoLlegan) {
    const std::string larga(5000, 'k'), justa(1023, 'j'), doble(2046, 'd');
    const std::pair<std::string, Lineas> casos[] = {
        {"uno\r\ndos\n\r\n  \n" + larga + "\r\nsin fin de linea",
         {"uno", "dos", "", "  ", larga, "quit"}},
        {std::string("a\r\r\nb\rc\n\r\nd\0e\n", 14), {"a\r", "b\rc", "", {"d\0e", 3}, "quit"}},
        {justa + "\n" + doble + "\r\n" + justa + "\rquit\n",
         {justa, doble, justa + "\rquit", "quit"}},
        {"go\nstop\ndespues\n", {"go", ">stop", "despues", "quit"}},
        {"go\nquit\nnunca\n", {"go", ">quit"}}};
    for (const auto& [entrada, esperadas] : casos) {
        EntradaSustituida sustituta(entrada);
        ConsolaRegistro consola;
        // Compared whole but printed short: the long lines would flood a failure.
        const Lineas lineas = consola.ejecutarConPlazo();
        EXPECT_TRUE(lineas == esperadas)
            << entrada.substr(0, 30) << ": " << ::testing::PrintToString(lineas);
        if (esperadas[0] == "go") {
            EXPECT_TRUE(consola.senalConsumida);
        }
    }
}

// The reader reads the next line only after the release, and nothing after "quit".
TEST(Lector, NoLeeLaLineaSiguienteHastaLaLiberacionNiTrasQuit) {
    EntradaSustituida entrada("uno\ndos\nquit\ntres\n");
    ConsolaRegistro consola;
    std::vector<int> sinLeer;
    // The pause leaves room for a reader that does not wait for the release.
    consola.alProcesar = [&] {
        std::this_thread::sleep_for(20ms);
        sinLeer.push_back(bytesSinLeer());
    };
    EXPECT_EQ(consola.ejecutarConPlazo(), (Lineas{"uno", "dos", "quit"}));
    EXPECT_EQ(sinLeer, (std::vector<int>{14, 10, 5}));
    EXPECT_EQ(bytesSinLeer(), 5);
}

// One blank after the word is skipped, a second one is kept.
TEST(Despacho, ArgumentosTrasLaPalabra) {
    EXPECT_EQ(textoArgumentos("go", 2), "");
    EXPECT_EQ(textoArgumentos("go ", 2), "");
    EXPECT_EQ(textoArgumentos("go  x", 2), " x");
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
