#!/usr/bin/env python3
"""Compares the searches of two engine builds over random positions, line by line.

A change meant to make the search faster must leave everything it prints as it was, apart from
times and rates. This drives both engines through the same cases: a start position (ordinary,
tactical, and set-ups no game reaches), a random run of moves taken from "listamovs", and
"ucinewgame", "position ...", "go depth D" with D drawn from --profundidades. Every line up to
"bestmove", and the "readyok" after it, must match once the time, rate and elapsed fields are
masked. The first differing line of each differing case is printed.

    scripts/comparar_busquedas.py REFERENCIA NUEVO [--casos 3000] [--semilla 1]
                                  [--profundidades 2-8]

Exits with 1 when any case differs.
"""
import argparse
import random
import re
import subprocess
import sys

INICIOS = [
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "2kr3r/pp1q1ppp/5n2/1Nb5/2Pp1B2/7Q/P4PPP/1R3RK1 w - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "k7/8/8/8/8/8/8/KQ6 w - - 0 1",
    "8/P7/8/8/8/8/7p/k6K w - - 0 1",
    # Set-ups that only text gives: no kings, a king to be taken, kings side by side, an
    # en-passant evasion that uncovers the king, rights without rooks.
    "8/8/8/8/8/8/8/8 w - - 0 1",
    "3r3r/R6R/8/8/8/8/r6r/3R3R b - - 0 1",
    "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1",
    "K1k5/8/8/8/8/8/8/8 w - - 0 1",
    "4k3/2b5/8/3Pp3/5K2/8/8/8 w - e6 0 1",
    "4k3/8/8/8/8/8/8/4K2R b KQkq - 0 1",
]

MOVIMIENTO = re.compile(r"^([a-h][1-8]){2}[qrbn]? ")


def enmascarar(linea):
    linea = re.sub(r"(time|nps) \d+", r"\1 X", linea)
    linea = re.sub(r"\d+\.\d+ s", "X s", linea)
    return re.sub(r"\d+ ms", "X ms", linea)


class Motor:
    def __init__(self, ruta):
        self.proceso = subprocess.Popen([ruta], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True, bufsize=1)
        self.enviar("isready")
        self.leer_hasta("readyok")

    def enviar(self, linea):
        self.proceso.stdin.write(linea + "\n")
        self.proceso.stdin.flush()

    def leer_hasta(self, prefijo):
        lineas = []
        while True:
            linea = self.proceso.stdout.readline()
            if not linea:
                raise RuntimeError("the engine closed its output")
            lineas.append(linea)
            if linea.startswith(prefijo):
                return lineas

    def cerrar(self):
        self.enviar("quit")
        self.proceso.wait(timeout=10)


def posicion(fen, movimientos):
    return "position fen " + fen + (" moves " + " ".join(movimientos) if movimientos else "")


def sortear_caso(generador, azar):
    fen = azar.choice(INICIOS)
    movimientos = []
    for _ in range(azar.randint(0, 40)):
        generador.enviar(posicion(fen, movimientos))
        generador.enviar("listamovs")
        generador.enviar("isready")
        lista = []
        for linea in generador.leer_hasta("readyok"):
            if MOVIMIENTO.match(linea):
                lista = linea.split()
        if not lista:
            break
        # A move that turns out illegal is refused alike by both engines.
        movimientos.append(azar.choice(lista))
    return posicion(fen, movimientos)


def buscar(motor, caso, profundidad):
    motor.enviar("ucinewgame")
    motor.enviar(caso)
    motor.enviar("go depth %d" % profundidad)
    lineas = motor.leer_hasta("bestmove")
    motor.enviar("isready")
    lineas += motor.leer_hasta("readyok")
    return [enmascarar(l) for l in lineas if not re.match(r"^(Transcurrido|NPS)", l)]


def main():
    argumentos = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    argumentos.add_argument("referencia")
    argumentos.add_argument("nuevo")
    argumentos.add_argument("--casos", type=int, default=3000)
    argumentos.add_argument("--semilla", type=int, default=1)
    argumentos.add_argument("--profundidades", default="2-8")
    opciones = argumentos.parse_args()
    # Differences show as they are found, also when the output goes to a file.
    sys.stdout.reconfigure(line_buffering=True)
    minima, maxima = (int(p) for p in opciones.profundidades.split("-"))

    azar = random.Random(opciones.semilla)
    generador = Motor(opciones.referencia)
    referencia = Motor(opciones.referencia)
    nuevo = Motor(opciones.nuevo)
    diferentes = 0
    lineas = 0
    for _ in range(opciones.casos):
        caso = sortear_caso(generador, azar)
        profundidad = azar.randint(minima, maxima)
        esperado = buscar(referencia, caso, profundidad)
        obtenido = buscar(nuevo, caso, profundidad)
        lineas += len(esperado)
        if esperado != obtenido:
            diferentes += 1
            print("differs: %s, go depth %d" % (caso, profundidad))
            for a, b in zip(esperado + ["(end)\n"], obtenido + ["(end)\n"]):
                if a != b:
                    print("  reference: " + a.rstrip())
                    print("  new:       " + b.rstrip())
                    break
    for motor in (generador, referencia, nuevo):
        motor.cerrar()
    print("%d cases, %d lines compared, %d differ" % (opciones.casos, lineas, diferentes))
    sys.exit(1 if diferentes else 0)


if __name__ == "__main__":
    main()
