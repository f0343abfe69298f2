#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tablero/tablero.h"

// A slow legal-move generator over a plain square array, written independently of the
// engine's tables and generators: it tries every from/to pair against the rules of chess
// and keeps the moves after which the mover's king is not attacked.
namespace referencia {

struct Posicion {
    int p[64];
    bool blancas; // white to move
    int alPaso;   // 64 = none
    int enroque;  // bits 1 K, 2 k, 4 Q, 8 q
};

inline Posicion desdeTablero(const Tablero& t) {
    Posicion q{};
    for (int s = 0; s < 64; ++s) q.p[s] = t.piezas[s];
    q.blancas = t.ladoQueMueve;
    q.alPaso = t.casillaAlPaso;
    q.enroque = t.derechosEnroque;
    return q;
}

inline bool esBlanca(int codigo) {
    return codigo != 0 && (codigo & 1);
}
inline bool esNegra(int codigo) {
    return codigo != 0 && !(codigo & 1);
}
inline bool delBando(int codigo, bool blancas) {
    return blancas ? esBlanca(codigo) : esNegra(codigo);
}
inline int tipo(int codigo) {
    return (codigo + 1) / 2;
} // 1 P, 2 N, 3 B, 4 R, 5 Q, 6 K

inline bool dentro(int f, int r) {
    return f >= 0 && f < 8 && r >= 0 && r < 8;
}

inline bool atacada(const Posicion& q, int s, bool porBlancas) {
    const int f = s & 7, r = s >> 3;
    const int peon = porBlancas ? 1 : 2;
    const int dr = porBlancas ? -1 : 1;
    for (int df : {-1, 1})
        if (dentro(f + df, r + dr) && q.p[(r + dr) * 8 + f + df] == peon) return true;
    static const int saltos[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                                     {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    for (const auto& d : saltos)
        if (dentro(f + d[0], r + d[1]) && q.p[(r + d[1]) * 8 + f + d[0]] == (porBlancas ? 3 : 4))
            return true;
    for (int df = -1; df <= 1; ++df)
        for (int dr2 = -1; dr2 <= 1; ++dr2)
            if ((df || dr2) && dentro(f + df, r + dr2) &&
                q.p[(r + dr2) * 8 + f + df] == (porBlancas ? 11 : 12))
                return true;
    for (int df = -1; df <= 1; ++df)
        for (int dr2 = -1; dr2 <= 1; ++dr2) {
            if (!df && !dr2) continue;
            const bool diagonal = df && dr2;
            for (int ff = f + df, rr = r + dr2; dentro(ff, rr); ff += df, rr += dr2) {
                const int c = q.p[rr * 8 + ff];
                if (!c) continue;
                if (delBando(c, porBlancas) && (tipo(c) == 5 || tipo(c) == (diagonal ? 3 : 4)))
                    return true;
                break;
            }
        }
    return false;
}

inline int casillaRey(const Posicion& q, bool blancas) {
    for (int s = 0; s < 64; ++s)
        if (q.p[s] == (blancas ? 11 : 12)) return s;
    return -1;
}

inline bool caminoLibre(const Posicion& q, int desde, int hasta) {
    const int df = (hasta & 7) - (desde & 7), dr = (hasta >> 3) - (desde >> 3);
    const int pf = (df > 0) - (df < 0), pr = (dr > 0) - (dr < 0);
    int f = (desde & 7) + pf, r = (desde >> 3) + pr;
    while (f != (hasta & 7) || r != (hasta >> 3)) {
        if (q.p[r * 8 + f]) return false;
        f += pf;
        r += pr;
    }
    return true;
}

// Whether the piece on desde may go to hasta, before looking at its own king.
inline bool pseudoLegal(const Posicion& q, int desde, int hasta) {
    const int pieza = q.p[desde];
    const int destino = q.p[hasta];
    if (!delBando(pieza, q.blancas) || delBando(destino, q.blancas) || desde == hasta) return false;
    const int df = (hasta & 7) - (desde & 7), dr = (hasta >> 3) - (desde >> 3);
    const int adf = std::abs(df), adr = std::abs(dr);
    switch (tipo(pieza)) {
    case 1: {
        const int sentido = q.blancas ? 1 : -1;
        const int filaInicial = q.blancas ? 1 : 6;
        if (df == 0 && dr == sentido) return destino == 0;
        if (df == 0 && dr == 2 * sentido && (desde >> 3) == filaInicial)
            return destino == 0 && q.p[desde + 8 * sentido] == 0;
        if (adf == 1 && dr == sentido) {
            if (destino) return true;
            return hasta == q.alPaso && q.p[hasta - 8 * sentido] == (q.blancas ? 2 : 1);
        }
        return false;
    }
    case 2:
        return (adf == 1 && adr == 2) || (adf == 2 && adr == 1);
    case 3:
        return adf == adr && caminoLibre(q, desde, hasta);
    case 4:
        return (adf == 0 || adr == 0) && caminoLibre(q, desde, hasta);
    case 5:
        return (adf == adr || adf == 0 || adr == 0) && caminoLibre(q, desde, hasta);
    default: {
        if (adf <= 1 && adr <= 1) return true;
        const int e = q.blancas ? 4 : 60;
        if (desde != e || dr != 0 || adf != 2) return false;
        const bool corto = df > 0;
        const int derecho = q.blancas ? (corto ? 1 : 4) : (corto ? 2 : 8);
        const int esquina = corto ? e + 3 : e - 4;
        if (!(q.enroque & derecho) || q.p[esquina] != (q.blancas ? 7 : 8)) return false;
        for (int s = std::min(e, esquina) + 1; s < std::max(e, esquina); ++s)
            if (q.p[s]) return false;
        const int paso = corto ? 1 : -1;
        return !atacada(q, e, !q.blancas) && !atacada(q, e + paso, !q.blancas);
    }
    }
}

inline Posicion aplicar(const Posicion& q, int desde, int hasta, int promocion) {
    Posicion n = q;
    const int pieza = q.p[desde];
    if (tipo(pieza) == 1 && (desde & 7) != (hasta & 7) && q.p[hasta] == 0)
        n.p[hasta + (q.blancas ? -8 : 8)] = 0;
    if (tipo(pieza) == 6 && std::abs(hasta - desde) == 2) {
        const bool corto = hasta > desde;
        n.p[corto ? desde + 1 : desde - 1] = n.p[corto ? desde + 3 : desde - 4];
        n.p[corto ? desde + 3 : desde - 4] = 0;
    }
    n.p[hasta] = promocion ? promocion : pieza;
    n.p[desde] = 0;
    for (int s : {desde, hasta}) {
        if (s == 4) n.enroque &= ~(1 | 4);
        if (s == 7) n.enroque &= ~1;
        if (s == 0) n.enroque &= ~4;
        if (s == 60) n.enroque &= ~(2 | 8);
        if (s == 63) n.enroque &= ~2;
        if (s == 56) n.enroque &= ~8;
    }
    n.alPaso = (tipo(pieza) == 1 && std::abs(hasta - desde) == 16) ? (desde + hasta) / 2 : 64;
    n.blancas = !q.blancas;
    return n;
}

struct Jugada {
    int desde;
    int hasta;
    int promocion;
};

inline std::string texto(const Jugada& j) {
    std::string s;
    for (int c : {j.desde, j.hasta}) {
        s += static_cast<char>('a' + (c & 7));
        s += static_cast<char>('1' + (c >> 3));
    }
    if (j.promocion) s += ".ppnnbbrrqqkk"[j.promocion];
    return s;
}

inline std::vector<Jugada> legales(const Posicion& q) {
    std::vector<Jugada> jugadas;
    for (int desde = 0; desde < 64; ++desde) {
        if (!delBando(q.p[desde], q.blancas)) continue;
        for (int hasta = 0; hasta < 64; ++hasta) {
            if (!pseudoLegal(q, desde, hasta)) continue;
            const bool promueve = tipo(q.p[desde]) == 1 && ((hasta >> 3) == 0 || (hasta >> 3) == 7);
            const int color = q.blancas ? 0 : 1;
            for (int base : {9, 3, 7, 5}) {
                const int promocion = promueve ? base + color : 0;
                const Posicion n = aplicar(q, desde, hasta, promocion);
                const int rey = casillaRey(n, q.blancas);
                if (rey < 0 || !atacada(n, rey, !q.blancas))
                    jugadas.push_back({desde, hasta, promocion});
                if (!promueve) break;
            }
        }
    }
    return jugadas;
}

inline std::vector<std::string> textosLegales(const Posicion& q) {
    std::vector<std::string> textos;
    for (const Jugada& j : legales(q)) textos.push_back(texto(j));
    std::sort(textos.begin(), textos.end());
    return textos;
}

inline uint64_t perft(const Posicion& q, int profundidad) {
    const std::vector<Jugada> jugadas = legales(q);
    if (profundidad <= 1) return jugadas.size();
    uint64_t total = 0;
    for (const Jugada& j : jugadas)
        total += perft(aplicar(q, j.desde, j.hasta, j.promocion), profundidad - 1);
    return total;
}

} // namespace referencia
