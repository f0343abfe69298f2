#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "apoyo/posiciones.h"
#include "evaluacion/evaluacion.h"
#include "generacion/ataques.h"
#include "generacion/lista_movimientos.h"

namespace {

int32_t evaluarFEN(const std::string& fen) {
    return evaluar(*tableroDesdeFEN(fen));
}

// Score of a position given without side to move, for White and for Black to move.
void esperarPuntuacion(const std::string& piezas, int32_t desdeBlancas) {
    EXPECT_EQ(evaluarFEN(piezas + " w - - 0 1"), desdeBlancas) << piezas;
    EXPECT_EQ(evaluarFEN(piezas + " b - - 0 1"), -desdeBlancas) << piezas;
}

std::string swapCase(std::string s) {
    for (char& c : s)
        c = std::isupper(static_cast<unsigned char>(c))
                ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The same position with colours swapped: ranks reversed, piece case swapped, the other side
// to move, castling letters swapped and the en-passant square on the mirrored rank.
std::string fenEspejo(const std::string& fen) {
    std::istringstream in(fen);
    std::string tablero, lado, enroque = "-", alPaso = "-", resto;
    in >> tablero >> lado >> enroque >> alPaso;
    std::getline(in, resto);

    std::vector<std::string> filas;
    std::stringstream filasTexto(tablero);
    for (std::string fila; std::getline(filasTexto, fila, '/');) filas.push_back(fila);
    std::string espejo;
    for (auto it = filas.rbegin(); it != filas.rend(); ++it)
        espejo += (espejo.empty() ? "" : "/") + swapCase(*it);

    std::string enroqueEspejo;
    if (enroque == "-") {
        enroqueEspejo = "-";
    } else {
        const std::string intercambiado = swapCase(enroque);
        for (char c : std::string("KQkq"))
            if (intercambiado.find(c) != std::string::npos) enroqueEspejo += c;
    }
    if (alPaso != "-") alPaso[1] = static_cast<char>('1' + ('8' - alPaso[1]));

    return espejo + (lado == "w" ? " b " : " w ") + enroqueEspejo + " " + alPaso + resto;
}

// FEN text of a board, so that a position reached by moves can be mirrored.
std::string fenDe(const Tablero& t) {
    std::string fen;
    for (int fila = 7; fila >= 0; --fila) {
        int vacias = 0;
        for (int columna = 0; columna < 8; ++columna) {
            const int32_t p = t.piezas[casillaDe(columna, fila)];
            if (p == Vacio) {
                ++vacias;
                continue;
            }
            if (vacias) fen += static_cast<char>('0' + vacias);
            vacias = 0;
            fen += ".PpNnBbRrQqKk"[p];
        }
        if (vacias) fen += static_cast<char>('0' + vacias);
        if (fila) fen += '/';
    }
    fen += t.ladoQueMueve ? " w " : " b ";
    std::string enroque;
    if (t.derechosEnroque & EnroqueCortoBlanco) enroque += 'K';
    if (t.derechosEnroque & EnroqueLargoBlanco) enroque += 'Q';
    if (t.derechosEnroque & EnroqueCortoNegro) enroque += 'k';
    if (t.derechosEnroque & EnroqueLargoNegro) enroque += 'q';
    fen += enroque.empty() ? "-" : enroque;
    fen += ' ';
    if (t.casillaAlPaso == CasillaNula) {
        fen += '-';
    } else {
        fen += static_cast<char>('a' + columnaDe(t.casillaAlPaso));
        fen += static_cast<char>('1' + filaDe(t.casillaAlPaso));
    }
    return fen + " " + std::to_string(t.movidasRegla50) + " 1";
}

std::vector<Movimiento> movimientosLegales(Tablero& t) {
    ListaMovimientos lista;
    lista.tablero = &t;
    lista.busqueda = nullptr;
    lista.cantidad = 0;
    lista.siguiente = 0;
    lista.modo = ModoTodos;
    generarCapturas(lista, t);
    generarTranquilos(lista, t);
    std::vector<Movimiento> legales;
    for (int i = 0; i < lista.cantidad; ++i) {
        t.hacerMovimiento(lista.movimientos[i]);
        if (!dejaReyEnJaque(t)) legales.push_back(lista.movimientos[i]);
        t.deshacerMovimiento();
    }
    return legales;
}

TEST(Evaluacion, PosicionInicialEsCeroParaAmbosLados) {
    esperarPuntuacion("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0);
    EXPECT_EQ(evaluarFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 0);
}

TEST(Evaluacion, SoloReyesEsLaDiferenciaDeSusTablas) {
    EXPECT_EQ(evaluarFEN("6k1/8/8/8/8/8/8/6K1 w - - 0 1"), 0);
    EXPECT_EQ(evaluarFEN("4k3/8/8/8/4K3/8/8/8 w - - 0 1"), -13);
    EXPECT_EQ(evaluarFEN("4k3/8/8/8/4K3/8/8/8 b - - 0 1"), 13);
    // Black king on b3 reads b6 (-21); White king on b1 earns 14.
    esperarPuntuacion("8/8/8/8/8/1k6/8/1K6", 35);
}

TEST(Evaluacion, TablasDePiezasSeLeenReflejadasParaLasNegras) {
    // The queen table differs between ranks 4 and 5 on the edge files, so it shows whether
    // a black piece reads its square through the mirror.
    esperarPuntuacion("4k3/8/8/Q7/8/8/8/4K3", 898);
    esperarPuntuacion("4k3/8/8/8/Q7/8/8/4K3", 890);
    esperarPuntuacion("4k3/8/8/q7/8/8/8/4K3", -890);
    esperarPuntuacion("4k3/8/8/8/q7/8/8/4K3", -898);
    esperarPuntuacion("4k3/8/8/4N3/8/8/8/1n2K3", 22);
    esperarPuntuacion("4k3/3P4/8/8/8/8/6p1/4K3", 6);
    esperarPuntuacion("4k3/8/8/8/8/2P5/8/4K3", 108);
}

TEST(Evaluacion, ParDeAlfilesSoloConExactamenteDos) {
    esperarPuntuacion("4k3/8/8/8/8/8/8/2B1KB2", 700 + 30 - 2 - 2);
    esperarPuntuacion("4k3/8/8/8/8/3B4/8/2B1KB2", 1050 - 2 - 2 + 5);
    // c1 and e3 are both dark squares: a promoted pair still counts.
    esperarPuntuacion("4k3/8/8/8/8/4B3/8/2B1K3", 700 + 30 - 2 + 5);
    esperarPuntuacion("2b1k3/8/4b3/8/8/8/8/4K3", -(700 + 30 - 2 + 5));
    esperarPuntuacion("4k3/8/8/8/8/8/8/2B1K3", 350 - 2);
}

TEST(Evaluacion, TorreEnSeptima) {
    esperarPuntuacion("4k3/R7/8/8/8/8/8/4K3", 500 + 30 + 5);
    esperarPuntuacion("4k3/8/8/8/8/8/R7/4K3", 500 + 5);
    esperarPuntuacion("4k3/8/8/8/8/8/7r/4K3", -(500 + 30 + 5));
    esperarPuntuacion("4k3/7r/8/8/8/8/8/4K3", -(500 + 5));
}

TEST(Evaluacion, TorresDobladasEnColumnaAbierta) {
    // d1 gets the doubled bonus because d4 is still ahead of it in the walk.
    esperarPuntuacion("4k3/8/8/8/3R4/8/8/3RK3", 1000 + (15 + 18 + 6) + (15 + 6));
    esperarPuntuacion("3rk3/8/8/3r4/8/8/8/4K3", -(1000 + (15 + 18 + 6) + (15 + 6)));
    // Three rooks on one open file: the bonus twice.
    esperarPuntuacion("4k3/8/3R4/8/3R4/8/8/3RK3", 1500 + 3 * (15 + 6) + 2 * 18);
    // Rooks on different open files are not doubled.
    esperarPuntuacion("4k3/8/8/8/2R5/8/8/3RK3", 1000 + (15 + 6) + (10 + 4));
    // With an own pawn on the file it is half-open, and no doubled bonus.
    esperarPuntuacion("4k3/8/8/8/3R4/8/3P4/3RK3", 1100 + 2 * (12 + 6));
    // A white rook does not double with a black one.
    esperarPuntuacion("3rk3/8/8/8/8/8/8/3RK3", 0);
}

TEST(Evaluacion, ColumnaSemiabiertaSoloSinPeonRival) {
    esperarPuntuacion("4k3/8/8/8/8/8/P7/R3K3", 600 + 3);
    esperarPuntuacion("4k3/8/8/8/8/P7/P7/R3K3", 700 + 3);
    // Any black pawn on the file removes the file term, whatever white pawns stand there.
    esperarPuntuacion("4k3/8/8/p7/8/8/P7/R3K3", 600 - 100 - 3);
    esperarPuntuacion("4k3/8/8/p7/8/8/8/R3K3", 500 - 100 - 3);
    // Black's half-open file is the one without white pawns.
    esperarPuntuacion("r3k3/p7/8/8/8/8/8/4K3", -(600 + 3));
    esperarPuntuacion("r3k3/p7/8/8/8/8/P7/4K3", -500);
}

TEST(Evaluacion, ElJaqueNoCambiaNada) {
    // The rook on a1 checks the king on e1; on a3 it does not. Same score either way.
    const int32_t conJaque = evaluarFEN("4k3/8/8/8/8/8/8/r3K3 w - - 0 1");
    EXPECT_EQ(conJaque, -505);
    EXPECT_EQ(evaluarFEN("4k3/8/8/8/8/r7/8/4K3 w - - 0 1"), conJaque);
    // Fool's mate: the queen on h4 mates; moved to f4 it does not check. Only its square term
    // differs (Black reads h5 and f5).
    EXPECT_EQ(evaluarFEN("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"),
              evaluarFEN("rnb1kbnr/pppp1ppp/8/4p3/5qP1/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3") +
                  TablaDama[Espejo[casillaDe(5, 3)]] - TablaDama[Espejo[casillaDe(7, 3)]]);
}

TEST(EvaluacionEspejo, FenEspejoDeAyuda) {
    EXPECT_EQ(fenEspejo("r3k2r/8/8/3pP3/8/8/8/R3K1R1 w Qkq d6 0 1"),
              "r3k1r1/8/8/8/3Pp3/8/8/R3K2R b KQq d3 0 1");
}

TEST(EvaluacionEspejo, PosicionesVariadas) {
    const char* const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
        "3r3r/R6R/8/8/8/8/r6r/3R3R b - - 0 1",
        "2bbb3/8/4k3/8/8/3K4/8/2BBB3 w - - 0 1",
        "6k1/3R4/3R4/3R4/8/8/3r4/K7 b - - 0 1",
        "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1",
    };
    for (const char* fen : fens) {
        const std::string espejo = fenEspejo(fen);
        EXPECT_EQ(evaluarFEN(fen), evaluarFEN(espejo)) << fen << " / " << espejo;
        EXPECT_EQ(fenEspejo(espejo), fen);
    }
}

TEST(EvaluacionEspejo, PosicionesAlcanzadasConJugadasAleatorias) {
    const char* const inicios[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R b KQ - 0 9",
    };
    std::mt19937 azar(20240611);
    int comparadas = 0;
    for (const char* inicio : inicios) {
        for (int partida = 0; partida < 12; ++partida) {
            auto t = tableroDesdeFEN(inicio);
            for (int jugada = 0; jugada < 120; ++jugada) {
                const std::string fen = fenDe(*t);
                const int32_t valor = evaluar(*t);
                ASSERT_EQ(valor, evaluarFEN(fen)) << fen;
                ASSERT_EQ(valor, evaluarFEN(fenEspejo(fen))) << fen;
                ++comparadas;
                const std::vector<Movimiento> legales = movimientosLegales(*t);
                if (legales.empty()) break;
                std::uniform_int_distribution<size_t> elegir(0, legales.size() - 1);
                t->hacerMovimiento(legales[elegir(azar)]);
            }
        }
    }
    EXPECT_GT(comparadas, 3000);
}

} // namespace
