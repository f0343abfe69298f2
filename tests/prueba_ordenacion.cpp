#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "apoyo/ayuda_generacion.h"
#include "apoyo/consistencia.h"
#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "busqueda/ordenacion.h"
#include "consola/motor.h"
#include "generacion/see.h"
#include "tablero/fen.h"

namespace {

using ayuda::Movimientos;
using ayuda::ordenados;
using Entregas = std::vector<std::pair<Movimiento, int32_t>>;

constexpr int32_t Ply = 5;

// White: Kg1, Ra1, pawns d4 and h2. Black: Ke8, Nc5, Re5, pawns a6, b7, d6.
// Captures: d4e5 (400) and d4c5 (200) win material, a1a6 loses the rook to b7.
const char* const Capturas = "4k3/1p6/p2p4/2n1r3/3P4/8/7P/R5K1 w - - 0 1";

// The engine's search object, with the board set up and the ordering data cleared.
class Ordenacion : public ::testing::Test {
  protected:
    Ordenacion() : b(*motorDePrueba().busqueda), t(*motorDePrueba().tablero) { poner(Capturas); }

    void poner(const std::string& fen) {
        ASSERT_TRUE(establecerPosicion(t, PosicionFEN(fen)));
        std::memset(b.movimientoHash, 0, sizeof(b.movimientoHash));
        std::memset(b.killer1, 0, sizeof(b.killer1));
        std::memset(b.killer2, 0, sizeof(b.killer2));
        std::memset(b.historia, 0, sizeof(b.historia));
    }

    Movimiento mov(const std::string& texto) {
        const Movimiento m = textoAMovimiento(t, texto);
        EXPECT_NE(m, MovimientoNulo) << texto;
        return m;
    }

    // Every move the list hands out, with the score shown for it, up to the first 0, which
    // must then stay.
    Entregas entregas(int32_t modo) {
        ListaMovimientos& l = b.listas[Ply];
        iniciarLista(l, &t, modo == ModoCapturas || modo == ModoTodos ? nullptr : &b, Ply, modo);
        auto siguiente = [&] {
            return modo == ModoEvasiones  ? siguienteEvasion(l)
                   : modo == ModoCapturas ? siguienteCaptura(l)
                                          : siguienteMovimiento(l);
        };
        Entregas salida;
        for (Movimiento m; (m = siguiente()) != MovimientoNulo && salida.size() < 600;)
            salida.push_back({m, l.puntuacionActual});
        EXPECT_EQ(siguiente(), MovimientoNulo);
        return salida;
    }

    Movimientos movimientos(int32_t modo) {
        Movimientos m;
        for (const auto& e : entregas(modo)) m.push_back(e.first);
        return m;
    }

    Busqueda& b;
    Tablero& t;
};

size_t veces(const Movimientos& v, Movimiento m) {
    return static_cast<size_t>(std::count(v.begin(), v.end(), m));
}

// Hash move, good captures by exchange value, killers, then the rest by history (losing
// captures among them); each pseudo-legal move once.
TEST_F(Ordenacion, OrdenDeEntregaEnLaBusqueda) {
    const struct {
        const char *hash, *killer1, *killer2;
        int32_t historiaG2, historiaA6;
        const char* primeras; // move and score shown, "-" for any move
    } casos[] = {
        {"", "", "", 0, 0, "d4e5 400 d4c5 200"},
        {"d4c5", "", "", 0, 0, "d4c5 0 d4e5 400"},
        {"a1a2", "", "", 0, 0, "a1a2 0"},
        {"g1f1", "g1f1", "a1b1", 0, 0, "g1f1 0 d4e5 400 d4c5 200 a1b1 0"},
        {"", "g1f1", "", 100, 50, "d4e5 400 d4c5 200 g1f1 0 g1g2 100 a1a6 50 - 0 - 0"},
        // The last two quiet moves generated, taken out of the list's end; -1: a history score
        // for every move, so that one left unscored shows.
        {"", "h2h4", "d4d5", -1, 0, "d4e5 400 d4c5 200 h2h4 0 d4d5 0"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.primeras);
        poner(Capturas);
        b.movimientoHash[Ply] = *caso.hash ? mov(caso.hash) : 0;
        b.killer1[Ply] = *caso.killer1 ? mov(caso.killer1) : 0;
        b.killer2[Ply] = *caso.killer2 ? mov(caso.killer2) : 0;
        b.historia[ReyBlanco][ayuda::cs("g2")] = caso.historiaG2;
        b.historia[TorreBlanca][ayuda::cs("a6")] = caso.historiaA6;
        for (int p = 0; p < NumCodigosPieza && caso.historiaG2 < 0; ++p)
            for (int s = 0; s < 64; ++s) b.historia[p][s] = 1 + p * 64 + s;
        const Entregas salida = entregas(ModoBusqueda);
        std::istringstream primeras(caso.primeras);
        std::string texto;
        int32_t puntuacion = 0;
        size_t i = 0;
        for (; primeras >> texto >> puntuacion; ++i) {
            ASSERT_LT(i, salida.size());
            if (texto != "-") {
                EXPECT_EQ(salida[i].first, mov(texto)) << i;
            }
            EXPECT_EQ(salida[i].second, puntuacion) << i;
        }
        for (const size_t killers = i; caso.historiaG2 < 0 && i < salida.size(); ++i) {
            const Movimiento m = salida[i].first;
            EXPECT_EQ(salida[i].second, b.historia[piezaMovida(m)][hastaDe(m)]) << i;
            EXPECT_TRUE(i == killers || salida[i - 1].second >= salida[i].second) << i;
        }
        EXPECT_EQ(ordenados(movimientos(ModoBusqueda)),
                  ordenados(ayuda::generar(t, ayuda::PseudoLegales)));
    }
}

// A promotion that captures nothing counts as quiet when it raises alpha, so it can become a
// killer; it is generated with the captures all the same. Only the hash move is taken out of
// the captures, so such a killer comes out among the captures and again at its killer stage.
TEST_F(Ordenacion, KillerDePromocionSaleConCapturasYComoKiller) {
    poner("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    const Movimiento dama = mov("b7b8q"), caballo = mov("b7b8n");
    b.killer1[Ply] = dama;
    b.killer2[Ply] = caballo;
    const Movimientos todas = movimientos(ModoBusqueda);
    EXPECT_EQ(veces(todas, dama), 2u);
    EXPECT_EQ(veces(todas, caballo), 2u);
    b.movimientoHash[Ply] = dama;
    const Movimientos conHash = movimientos(ModoBusqueda);
    EXPECT_EQ(veces(conHash, dama), 1u);
    EXPECT_EQ(conHash.front(), dama);
}

// Captures by exchange value, losing ones last; in check the hash move comes first.
TEST_F(Ordenacion, CapturasYEvasiones) {
    const Entregas capturas = entregas(ModoCapturas);
    ASSERT_EQ(capturas.size(), 3u);
    EXPECT_EQ(capturas[0], std::make_pair(mov("d4e5"), 400));
    EXPECT_EQ(capturas[1], std::make_pair(mov("d4c5"), 200));
    EXPECT_EQ(capturas[2].first, mov("a1a6"));
    EXPECT_LT(capturas[2].second, 0);
    // The rook on e5 checks the king on e1.
    poner("4k3/8/8/4r3/8/8/3P4/R3K2N w - - 0 1");
    b.movimientoHash[Ply] = mov("e1f1");
    b.killer1[Ply] = mov("e1d1");
    const Entregas salida = entregas(ModoEvasiones);
    ASSERT_FALSE(salida.empty());
    EXPECT_EQ(salida[0], std::make_pair(mov("e1f1"), 0));
}

// A null move keeps the en-passant square's key while clearing the square. So a double step,
// a null move and another move give the key of a null move followed by the double step: the
// table offers that path's en-passant capture, which comes out first and make/unmake handle.
TEST_F(Ordenacion, HashAlPasoTrasMovimientoNulo) {
    poner("3k4/3p4/8/4P3/8/8/8/4K3 w - - 0 1");
    t.hacerMovimientoNulo();
    t.hacerMovimiento(mov("d7d5"));
    const uint64_t claveConAlPaso = t.hashKey;
    const Movimiento alPaso = mov("e5d6");
    poner("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    t.hacerMovimiento(mov("d7d5"));
    t.hacerMovimientoNulo();
    t.hacerMovimiento(mov("e8d8"));
    ASSERT_EQ(t.hashKey, claveConAlPaso);
    ASSERT_EQ(t.casillaAlPaso, CasillaNula);
    b.movimientoHash[Ply] = alPaso;
    const Tablero antes = t;
    const Movimientos salida = movimientos(ModoBusqueda);
    ASSERT_FALSE(salida.empty());
    EXPECT_EQ(salida.front(), alPaso);
    t.hacerMovimiento(alPaso);
    EXPECT_EQ(t.piezas[ayuda::cs("d5")], Vacio);
    std::string motivo;
    EXPECT_TRUE(tableroConsistente(t, &motivo, false)) << motivo;
    t.deshacerMovimiento();
    EXPECT_TRUE(tablerosIguales(t, antes, &motivo)) << motivo;
}

// Every entry lo..hi keeps its move with its score, in non-increasing order; the rest of the
// list, all of it for an empty range, is untouched.
TEST(Ordenar, ConservaParesYNoTocaFueraDelRango) {
    std::mt19937 azar(77);
    auto l = std::make_unique<ListaMovimientos>();
    for (int vuelta = 0; vuelta < 300; ++vuelta) {
        const int n = 1 + static_cast<int>(azar() % CapacidadLista);
        Entregas antes;
        for (int i = 0; i < n; ++i) {
            l->movimientos[i] = static_cast<Movimiento>(1000 + i);
            l->puntuaciones[i] = static_cast<int32_t>(azar() % (vuelta % 2 ? 7 : 4000)) - 100;
            antes.push_back({l->movimientos[i], l->puntuaciones[i]});
        }
        const int lo = static_cast<int>(azar() % n);
        const int hi = lo - 1 + static_cast<int>(azar() % (n - lo + 1));
        ordenar(*l, lo, hi);
        Entregas despues;
        for (int i = 0; i < n; ++i) despues.push_back({l->movimientos[i], l->puntuaciones[i]});
        for (int i = lo + 1; i <= hi; ++i) ASSERT_GE(despues[i - 1].second, despues[i].second);
        std::sort(antes.begin() + lo, antes.begin() + hi + 1);
        std::sort(despues.begin() + lo, despues.begin() + hi + 1);
        ASSERT_EQ(despues, antes);
    }
}

// Equal scores come out in the order the specified partition leaves them, on which the search's
// node counts depend: two and three entries in every arrangement of ties, and longer lists that
// break down into such ranges.
TEST(Ordenar, EmpatesEnElOrdenDeLaParticion) {
    const struct {
        std::vector<int32_t> puntuaciones;
        std::vector<int> orden; // the entry that each place ends up holding
    } casos[] = {
        {{5, 5}, {1, 0}},
        {{3, 5}, {1, 0}},
        {{5, 3}, {0, 1}},
        {{1, 1, 1}, {2, 1, 0}},
        {{1, 1, 2}, {2, 1, 0}},
        {{1, 2, 1}, {1, 2, 0}},
        {{1, 2, 2}, {2, 1, 0}},
        {{1, 2, 3}, {2, 1, 0}},
        {{1, 3, 2}, {1, 2, 0}},
        {{2, 1, 1}, {0, 2, 1}},
        {{2, 1, 2}, {2, 0, 1}},
        {{2, 1, 3}, {2, 0, 1}},
        {{2, 2, 1}, {1, 0, 2}},
        {{2, 3, 1}, {1, 0, 2}},
        {{3, 1, 2}, {0, 2, 1}},
        {{3, 2, 1}, {0, 1, 2}},
        {{0, 3, 0, 0, 3, 0, 1}, {4, 1, 6, 5, 0, 2, 3}},
        {{2, 0, 2, 1, 0, 0, 2, 1, 0}, {2, 6, 0, 7, 3, 8, 1, 4, 5}},
    };
    auto l = std::make_unique<ListaMovimientos>();
    for (const auto& caso : casos) {
        const int n = static_cast<int>(caso.puntuaciones.size());
        for (int i = 0; i < n; ++i) {
            l->puntuaciones[i] = caso.puntuaciones[i];
            l->movimientos[i] = static_cast<Movimiento>(100 + i);
        }
        ordenar(*l, 0, n - 1);
        std::vector<int> orden;
        for (int i = 0; i < n; ++i) orden.push_back(static_cast<int>(l->movimientos[i]) - 100);
        EXPECT_EQ(orden, caso.orden) << ::testing::PrintToString(caso.puntuaciones);
    }
}

// Over positions of random games, mode 0 hands out the generators' list as it is, mode 1
// every pseudo-legal move once whatever the killers and history (killers that are impossible
// here are skipped) and whichever of its own moves the table gives, mode 2 every legal move
// once and mode 3 every capture once.
TEST_F(Ordenacion, CadaModoEntregaCadaJugadaUnaVez) {
    std::mt19937 azar(31337);
    const char* inicios[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    };
    Movimientos vistas;
    int posiciones = 0, enJaquePos = 0;
    for (int partida = 0; partida < 40 && !HasFailure(); ++partida) {
        poner(inicios[partida % 4]);
        for (int jugada = 0; jugada < 80 && !HasFailure(); ++jugada) {
            const Movimientos pseudo = ayuda::generar(t, ayuda::PseudoLegales);
            const Movimientos validas = ayuda::legales(t);
            if (validas.empty()) break;
            ++posiciones;
            SCOPED_TRACE(::testing::Message() << "game " << partida << " move " << jugada);
            EXPECT_EQ(movimientos(ModoTodos), pseudo);

            // Hash move and killers from this position, from earlier ones, or none.
            auto alguna = [&]() -> Movimiento {
                const unsigned r = azar() % 3;
                if (r == 0) return pseudo[azar() % pseudo.size()];
                return r == 1 && !vistas.empty() ? vistas[azar() % vistas.size()] : 0;
            };
            for (int i = 0; i < 16; ++i)
                b.historia[1 + azar() % 12][azar() % 64] = static_cast<int32_t>(azar() % 500);
            EXPECT_EQ(ordenados(movimientos(ModoCapturas)),
                      ordenados(ayuda::generar(t, ayuda::Capturas)));
            if (enJaque(t)) {
                ++enJaquePos;
                b.movimientoHash[Ply] = azar() % 2 ? validas[azar() % validas.size()] : 0;
                b.killer1[Ply] = alguna();
                b.killer2[Ply] = alguna();
                EXPECT_EQ(ordenados(movimientos(ModoEvasiones)), ordenados(validas));
            } else {
                b.movimientoHash[Ply] = azar() % 2 ? pseudo[azar() % pseudo.size()] : 0;
                // Killers captured nothing where they were found, and are never the same.
                b.killer1[Ply] = alguna() & ~(15u << 16);
                b.killer2[Ply] = alguna() & ~(15u << 16);
                if (b.killer2[Ply] == b.killer1[Ply]) b.killer2[Ply] = 0;
                // A promotion killer that is also a good capture comes out twice.
                Movimientos esperadas = pseudo;
                for (const Movimiento k : {b.killer1[Ply], b.killer2[Ply]})
                    if (k != 0 && k != b.movimientoHash[Ply] && piezaPromocion(k) != Vacio &&
                        veces(pseudo, k) == 1 &&
                        SEE(t, hastaDe(k), desdeDe(k), colorMovimiento(k)) >= 0)
                        esperadas.push_back(k);
                EXPECT_EQ(ordenados(movimientos(ModoBusqueda)), ordenados(esperadas))
                    << " hash " << movimientoATexto(b.movimientoHash[Ply]) << " killers "
                    << movimientoATexto(b.killer1[Ply]) << ' ' << movimientoATexto(b.killer2[Ply]);
            }
            vistas.insert(vistas.end(), pseudo.begin(), pseudo.end());
            if (vistas.size() > 4000) vistas.erase(vistas.begin(), vistas.begin() + 2000);
            // Prefer checks now and then, so that evasions come up often.
            Movimiento elegida = validas[azar() % validas.size()];
            for (Movimiento m : validas) {
                t.hacerMovimiento(m);
                const bool jaque = enJaque(t);
                t.deshacerMovimiento();
                if (jaque && azar() % 2 == 0) {
                    elegida = m;
                    break;
                }
            }
            t.hacerMovimiento(elegida);
        }
    }
    EXPECT_GT(posiciones, 1000);
    EXPECT_GT(enJaquePos, 100);
}

} // namespace
