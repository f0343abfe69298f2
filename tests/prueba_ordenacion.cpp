#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "apoyo/motor_prueba.h"
#include "busqueda/busqueda.h"
#include "busqueda/ordenacion.h"
#include "consola/motor.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"
#include "generacion/see.h"
#include "tablero/fen.h"
#include "tablero/tablero.h"

namespace {

using Movimientos = std::vector<Movimiento>;

constexpr int32_t Ply = 5;

// White: Kg1, Ra1, pawns d4 and h2. Black: Ke8, Nc5, Re5, pawns a6, b7, d6.
// Captures: d4e5 and d4c5 win material, a1a6 loses the rook to b7.
const char* const Capturas = "4k3/1p6/p2p4/2n1r3/3P4/8/7P/R5K1 w - - 0 1";

// The engine's search object, with the board set up and the ordering data of every ply
// cleared.
class Ordenacion : public ::testing::Test {
  protected:
    Ordenacion() : b(*motorDePrueba().busqueda), t(*motorDePrueba().tablero) { poner(Capturas); }

    void poner(const std::string& fen) {
        ASSERT_TRUE(establecerPosicion(t, PosicionFEN(fen)));
        for (int p = 0; p < MaxPly; ++p) {
            b.movimientoHash[p] = MovimientoNulo;
            b.killer1[p] = MovimientoNulo;
            b.killer2[p] = MovimientoNulo;
        }
        std::memset(b.historia, 0, sizeof(b.historia));
    }

    Movimiento mov(const std::string& texto) {
        const Movimiento m = textoAMovimiento(t, texto);
        EXPECT_NE(m, MovimientoNulo) << texto;
        return m;
    }

    ListaMovimientos& lista(int32_t modo) {
        ListaMovimientos& l = b.listas[Ply];
        iniciarLista(l, &t, modo == ModoCapturas || modo == ModoTodos ? nullptr : &b, Ply, modo);
        return l;
    }

    // Every move the list hands out, with the score shown for it, up to the first 0.
    std::vector<std::pair<Movimiento, int32_t>> entregas(int32_t modo) {
        ListaMovimientos& l = lista(modo);
        std::vector<std::pair<Movimiento, int32_t>> salida;
        for (int i = 0; i < 600; ++i) {
            const Movimiento m = modo == ModoEvasiones  ? siguienteEvasion(l)
                                 : modo == ModoCapturas ? siguienteCaptura(l)
                                                        : siguienteMovimiento(l);
            if (m == MovimientoNulo) {
                const Movimiento otra = modo == ModoEvasiones  ? siguienteEvasion(l)
                                        : modo == ModoCapturas ? siguienteCaptura(l)
                                                               : siguienteMovimiento(l);
                EXPECT_EQ(otra, MovimientoNulo) << "a list that handed out 0 must stay empty";
                return salida;
            }
            salida.push_back({m, l.puntuacionActual});
        }
        ADD_FAILURE() << "the list never ends";
        return salida;
    }

    Movimientos soloMovimientos(int32_t modo) {
        Movimientos m;
        for (const auto& e : entregas(modo)) m.push_back(e.first);
        return m;
    }

    int32_t see(Movimiento m) const { return SEE(t, hastaDe(m), desdeDe(m), colorMovimiento(m)); }

    Busqueda& b;
    Tablero& t;
};

Movimientos pseudoLegales(const Tablero& t) {
    auto l = std::make_unique<ListaMovimientos>();
    l->cantidad = 0;
    generarCapturas(*l, t);
    generarTranquilos(*l, t);
    return Movimientos(l->movimientos, l->movimientos + l->cantidad);
}

Movimientos legales(Tablero& t) {
    Movimientos r;
    for (Movimiento m : pseudoLegales(t)) {
        t.hacerMovimiento(m);
        if (!dejaReyEnJaque(t)) r.push_back(m);
        t.deshacerMovimiento();
    }
    return r;
}

Movimientos ordenados(Movimientos v) {
    std::sort(v.begin(), v.end());
    return v;
}

// The moves in one list and not in the other, as texts, for failure messages.
std::string diferencia(Movimientos a, Movimientos b) {
    a = ordenados(a);
    b = ordenados(b);
    std::string texto = "extra:";
    Movimientos d;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(d));
    for (Movimiento m : d) texto += ' ' + movimientoATexto(m);
    texto += " missing:";
    d.clear();
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(d));
    for (Movimiento m : d) texto += ' ' + movimientoATexto(m);
    return texto;
}

std::size_t veces(const Movimientos& v, Movimiento m) {
    return static_cast<std::size_t>(std::count(v.begin(), v.end(), m));
}

TEST_F(Ordenacion, SinMovimientoHashLaPrimeraEsLaMejorCaptura) {
    const auto salida = entregas(ModoBusqueda);
    ASSERT_GE(salida.size(), 2u);
    const Movimiento de5 = mov("d4e5"), dc5 = mov("d4c5");
    ASSERT_GT(see(de5), see(dc5));
    ASSERT_GT(see(dc5), 0);
    EXPECT_EQ(salida[0], std::make_pair(de5, see(de5)));
    EXPECT_EQ(salida[1], std::make_pair(dc5, see(dc5)));
    Movimientos todas;
    for (const auto& e : salida) todas.push_back(e.first);
    EXPECT_EQ(ordenados(todas), ordenados(pseudoLegales(t)));
}

TEST_F(Ordenacion, HashDeCapturaSeEntregaUnaSolaVez) {
    const Movimiento dc5 = mov("d4c5");
    b.movimientoHash[Ply] = dc5;
    const auto salida = entregas(ModoBusqueda);
    ASSERT_GE(salida.size(), 2u);
    EXPECT_EQ(salida[0], std::make_pair(dc5, 0));
    EXPECT_EQ(salida[1].first, mov("d4e5"));
    Movimientos todas;
    for (const auto& e : salida) todas.push_back(e.first);
    EXPECT_EQ(veces(todas, dc5), 1u);
    EXPECT_EQ(ordenados(todas), ordenados(pseudoLegales(t)));
}

TEST_F(Ordenacion, HashTranquiloSeQuitaDelResto) {
    const Movimiento a2 = mov("a1a2");
    b.movimientoHash[Ply] = a2;
    const Movimientos todas = soloMovimientos(ModoBusqueda);
    ASSERT_FALSE(todas.empty());
    EXPECT_EQ(todas[0], a2);
    EXPECT_EQ(veces(todas, a2), 1u);
    EXPECT_EQ(ordenados(todas), ordenados(pseudoLegales(t)));
}

TEST_F(Ordenacion, KillerIgualAlHashNoSeRepite) {
    const Movimiento f1 = mov("g1f1"), b1 = mov("a1b1");
    b.movimientoHash[Ply] = f1;
    b.killer1[Ply] = f1;
    b.killer2[Ply] = b1;
    const Movimientos todas = soloMovimientos(ModoBusqueda);
    ASSERT_GE(todas.size(), 4u);
    EXPECT_EQ(Movimientos(todas.begin(), todas.begin() + 4),
              (Movimientos{f1, mov("d4e5"), mov("d4c5"), b1}));
    EXPECT_EQ(veces(todas, f1), 1u);
    EXPECT_EQ(veces(todas, b1), 1u);
    EXPECT_EQ(ordenados(todas), ordenados(pseudoLegales(t)));
}

TEST_F(Ordenacion, KillerImposibleSeSalta) {
    // A pawn that is not there, and a rook move onto a square that is now occupied.
    const Movimiento sinPieza = crearMovimiento(10, 18, PeonBlanco);
    const Movimiento ocupada = crearMovimiento(0, 40, TorreBlanca);
    EXPECT_FALSE(movimientoValido(t, sinPieza));
    EXPECT_FALSE(movimientoValido(t, ocupada));
    b.killer1[Ply] = sinPieza;
    b.killer2[Ply] = ocupada;
    const Movimientos todas = soloMovimientos(ModoBusqueda);
    EXPECT_EQ(veces(todas, sinPieza), 0u);
    EXPECT_EQ(veces(todas, ocupada), 0u);
    EXPECT_EQ(ordenados(todas), ordenados(pseudoLegales(t)));
}

TEST_F(Ordenacion, DosDuplicadosAlFinalSeQuitanYLoDemasSePuntua) {
    const Movimientos generadas = pseudoLegales(t);
    ASSERT_GE(generadas.size(), 3u);
    // The last two quiet moves generated: the d-pawn's push and the h-pawn's double push.
    const Movimiento h3 = mov("d4d5"), h4 = mov("h2h4");
    ASSERT_EQ(generadas[generadas.size() - 2], h3);
    ASSERT_EQ(generadas.back(), h4);
    b.killer1[Ply] = h4;
    b.killer2[Ply] = h3;
    // Distinct history scores, so that an unscored slot shows.
    for (int p = 0; p < NumCodigosPieza; ++p)
        for (int s = 0; s < 64; ++s) b.historia[p][s] = 1 + p * 64 + s;

    const auto salida = entregas(ModoBusqueda);
    Movimientos todas;
    for (const auto& e : salida) todas.push_back(e.first);
    EXPECT_EQ(ordenados(todas), ordenados(generadas));
    ASSERT_GE(salida.size(), 4u);
    EXPECT_EQ(salida[2].first, h4);
    EXPECT_EQ(salida[3].first, h3);
    for (std::size_t i = 4; i < salida.size(); ++i) {
        const Movimiento m = salida[i].first;
        EXPECT_EQ(salida[i].second, b.historia[piezaMovida(m)][hastaDe(m)]) << i;
        if (i > 4) {
            EXPECT_GE(salida[i - 1].second, salida[i].second) << i;
        }
    }
}

TEST_F(Ordenacion, CapturaPerdedoraTrasLosKillersSegunHistoria) {
    const Movimiento a6 = mov("a1a6"), g2 = mov("g1g2"), f1 = mov("g1f1");
    ASSERT_LT(see(a6), 0);
    b.killer1[Ply] = f1;
    b.historia[ReyBlanco][hastaDe(g2)] = 100;
    b.historia[TorreBlanca][hastaDe(a6)] = 50;
    const auto salida = entregas(ModoBusqueda);
    ASSERT_GE(salida.size(), 5u);
    EXPECT_EQ(salida[0].first, mov("d4e5"));
    EXPECT_EQ(salida[1].first, mov("d4c5"));
    EXPECT_EQ(salida[2], std::make_pair(f1, 0));
    EXPECT_EQ(salida[3], std::make_pair(g2, 100));
    EXPECT_EQ(salida[4], std::make_pair(a6, 50));
    for (std::size_t i = 5; i < salida.size(); ++i) EXPECT_EQ(salida[i].second, 0);

    // With no history at all it is just one of the zeros after the killers.
    poner(Capturas);
    b.killer1[Ply] = f1;
    const auto sinHistoria = entregas(ModoBusqueda);
    ASSERT_GE(sinHistoria.size(), 3u);
    EXPECT_EQ(sinHistoria[2].first, f1);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NE(sinHistoria[i].first, a6);
    EXPECT_EQ(veces(soloMovimientos(ModoBusqueda), a6), 1u);
}

// A promotion that captures nothing counts as quiet for the killers, but it is generated
// with the captures: it must still come out once.
// A promotion that captures nothing counts as quiet when it raises alpha, so it can become a
// killer; it is generated with the captures all the same. Only the hash move is taken out of
// the captures, so such a killer comes out among the captures and again at its killer stage.
TEST_F(Ordenacion, KillerDePromocionSaleConCapturasYComoKiller) {
    poner("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    const Movimiento dama = mov("b7b8q"), caballo = mov("b7b8n");
    b.killer1[Ply] = dama;
    b.killer2[Ply] = caballo;
    const Movimientos todas = soloMovimientos(ModoBusqueda);
    EXPECT_EQ(veces(todas, dama), 2u);
    EXPECT_EQ(veces(todas, caballo), 2u);
    b.movimientoHash[Ply] = dama;
    const Movimientos conHash = soloMovimientos(ModoBusqueda);
    EXPECT_EQ(veces(conHash, dama), 1u);
    EXPECT_EQ(conHash.front(), dama);
}

TEST_F(Ordenacion, ModoCapturas) {
    const auto salida = entregas(ModoCapturas);
    const Movimiento de5 = mov("d4e5"), dc5 = mov("d4c5"), a6 = mov("a1a6");
    EXPECT_EQ(salida, (std::vector<std::pair<Movimiento, int32_t>>{
                          {de5, see(de5)}, {dc5, see(dc5)}, {a6, see(a6)}}));

    poner("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    ListaMovimientos& l = lista(ModoCapturas);
    EXPECT_EQ(siguienteCaptura(l), MovimientoNulo);
    EXPECT_EQ(l.cantidad, 0);
    EXPECT_EQ(siguienteCaptura(l), MovimientoNulo);

    // Promotions without a capture come with the captures.
    poner("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(soloMovimientos(ModoCapturas).size(), 4u);
}

TEST_F(Ordenacion, EvasionesConHashPrimeroYCadaUnaUnaVez) {
    // The rook on e5 checks the king on e1.
    poner("4k3/8/8/4r3/8/8/3P4/R3K2N w - - 0 1");
    ASSERT_TRUE(enJaque(t));
    const Movimientos esperadas = legales(t);
    ASSERT_GE(esperadas.size(), 3u);
    const Movimiento f1 = mov("e1f1");
    b.movimientoHash[Ply] = f1;
    b.killer1[Ply] = mov("e1d1");
    const auto salida = entregas(ModoEvasiones);
    Movimientos todas;
    for (const auto& e : salida) todas.push_back(e.first);
    ASSERT_FALSE(todas.empty());
    EXPECT_EQ(salida[0], std::make_pair(f1, 0));
    EXPECT_EQ(ordenados(todas), ordenados(esperadas));
}

// Every entry lo..hi keeps its move with its score, in non-increasing order; the rest of the
// list is untouched.
TEST(Ordenar, ConservaParesYNoTocaFueraDelRango) {
    std::mt19937 azar(77);
    auto l = std::make_unique<ListaMovimientos>();
    for (int vuelta = 0; vuelta < 300; ++vuelta) {
        const int n = 1 + static_cast<int>(azar() % CapacidadLista);
        l->cantidad = n;
        for (int i = 0; i < n; ++i) {
            l->movimientos[i] = static_cast<Movimiento>(1000 + i);
            l->puntuaciones[i] = static_cast<int32_t>(azar() % (vuelta % 2 ? 7 : 4000)) - 100;
        }
        const int lo = static_cast<int>(azar() % n);
        const int hi = lo + static_cast<int>(azar() % (n - lo));
        std::vector<std::pair<Movimiento, int32_t>> antes;
        for (int i = 0; i < n; ++i) antes.push_back({l->movimientos[i], l->puntuaciones[i]});
        ordenar(*l, lo, hi);
        for (int i = 0; i < n; ++i) {
            if (i >= lo && i <= hi) continue;
            EXPECT_EQ(l->movimientos[i], antes[i].first);
            EXPECT_EQ(l->puntuaciones[i], antes[i].second);
        }
        std::vector<std::pair<Movimiento, int32_t>> dentro,
            esperados(antes.begin() + lo, antes.begin() + hi + 1);
        for (int i = lo; i <= hi; ++i) {
            dentro.push_back({l->movimientos[i], l->puntuaciones[i]});
            if (i > lo) {
                ASSERT_GE(l->puntuaciones[i - 1], l->puntuaciones[i]);
            }
        }
        std::sort(dentro.begin(), dentro.end());
        std::sort(esperados.begin(), esperados.end());
        ASSERT_EQ(dentro, esperados);
    }
}

TEST(Ordenar, ListasDeCeroYUnaEntrada) {
    auto l = std::make_unique<ListaMovimientos>();
    for (int i = 0; i < 4; ++i) {
        l->movimientos[i] = static_cast<Movimiento>(i + 1);
        l->puntuaciones[i] = 10 * i;
    }
    ordenar(*l, 0, -1);
    ordenar(*l, 2, 2);
    ordenar(*l, 3, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(l->movimientos[i], static_cast<Movimiento>(i + 1));
        EXPECT_EQ(l->puntuaciones[i], 10 * i);
    }
    const int32_t tres[] = {5, 3, 5};
    for (int i = 0; i < 3; ++i) l->puntuaciones[i] = tres[i];
    ordenar(*l, 0, 2);
    EXPECT_EQ(l->puntuaciones[0], 5);
    EXPECT_EQ(l->puntuaciones[1], 5);
    EXPECT_EQ(l->puntuaciones[2], 3);
    EXPECT_EQ(l->movimientos[2], 2u);
    EXPECT_EQ(l->movimientos[3], 4u);
}

// Over positions of random games, mode 0 hands out the generators' list as it is, mode 1
// every pseudo-legal move once whatever the hash move, killers and history, and mode 2 every
// legal move once.
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
    for (int partida = 0; partida < 40; ++partida) {
        poner(inicios[partida % 4]);
        for (int jugada = 0; jugada < 80; ++jugada) {
            const Movimientos pseudo = pseudoLegales(t);
            const Movimientos validas = legales(t);
            if (validas.empty()) break;
            ++posiciones;
            SCOPED_TRACE(::testing::Message() << "game " << partida << " move " << jugada);

            EXPECT_EQ(soloMovimientos(ModoTodos), pseudo);

            // Hash move and killers from this position, from earlier ones, or none.
            auto alguna = [&]() -> Movimiento {
                switch (azar() % 3) {
                case 0:
                    return pseudo[azar() % pseudo.size()];
                case 1:
                    return vistas.empty() ? MovimientoNulo : vistas[azar() % vistas.size()];
                default:
                    return MovimientoNulo;
                }
            };
            for (int i = 0; i < 16; ++i)
                b.historia[1 + azar() % 12][azar() % 64] = static_cast<int32_t>(azar() % 500);
            if (enJaque(t)) {
                ++enJaquePos;
                b.movimientoHash[Ply] =
                    azar() % 2 ? validas[azar() % validas.size()] : MovimientoNulo;
                b.killer1[Ply] = alguna();
                b.killer2[Ply] = alguna();
                const Movimientos dadas = soloMovimientos(ModoEvasiones);
                EXPECT_EQ(ordenados(dadas), ordenados(validas)) << diferencia(dadas, validas);
            } else {
                b.movimientoHash[Ply] = alguna();
                // Killers are moves that captured nothing where they were found.
                b.killer1[Ply] = alguna() & ~(15u << 16);
                b.killer2[Ply] = alguna() & ~(15u << 16);
                // The search never keeps the same move in both slots.
                if (b.killer2[Ply] == b.killer1[Ply]) b.killer2[Ply] = MovimientoNulo;
                // A promotion killer that is also a good capture comes out twice (see
                // KillerDePromocionSaleConCapturasYComoKiller).
                Movimientos esperadas = pseudo;
                for (const Movimiento k : {b.killer1[Ply], b.killer2[Ply]}) {
                    if (k != MovimientoNulo && k != b.movimientoHash[Ply] &&
                        piezaPromocion(k) != Vacio && veces(pseudo, k) == 1 &&
                        SEE(t, hastaDe(k), desdeDe(k), colorMovimiento(k)) >= 0)
                        esperadas.push_back(k);
                }
                const Movimientos dadas = soloMovimientos(ModoBusqueda);
                EXPECT_EQ(ordenados(dadas), ordenados(esperadas))
                    << diferencia(dadas, esperadas) << " hash "
                    << movimientoATexto(b.movimientoHash[Ply]) << " killers "
                    << movimientoATexto(b.killer1[Ply]) << ' ' << movimientoATexto(b.killer2[Ply]);
            }
            if (::testing::Test::HasFailure()) return;

            vistas.insert(vistas.end(), pseudo.begin(), pseudo.end());
            if (vistas.size() > 4000) vistas.erase(vistas.begin(), vistas.begin() + 2000);
            // Prefer checks and captures now and then, so that evasions come up often.
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
