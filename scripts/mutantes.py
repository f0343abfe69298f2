#!/usr/bin/env python3
"""Mutation testing of the engine's sources against the Release test suite.

Draws a fixed, seeded sample of textual mutants spread evenly over the six subsystems of src/,
applies each one alone to a private copy of the tree, rebuilds incrementally, runs ctest and
records whether the suite kills the mutant, lets it survive, or whether it does not compile.

    scripts/mutantes.py --muestra 120 --semilla 1 [--comparar anterior.tsv]
                        [--archivos src/generacion/perft.cpp ...]

With --archivos the sample is drawn from those files only, to see how the tests grip one
change. The result table goes to build/mutantes/resultado-<semilla>.tsv. With --comparar, mutants
that an earlier run killed and this one did not are listed by name.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent
SUBSISTEMAS = ["consola", "uci", "tablero", "generacion", "evaluacion", "busqueda"]
# Compiled only for Windows: a mutant there would never be built here.
EXCLUIDOS = {"src/consola/plataforma_windows.cpp"}
COPIAR = ["src", "tests", "bench", "fuzz", "cmake", "CMakeLists.txt"]

# Binary operators are written with a blank on each side, which keeps template brackets,
# pointers and unary operators out of reach.
INTERCAMBIOS = [
    ("relacional", " < ", " <= "), ("relacional", " <= ", " < "),
    ("relacional", " > ", " >= "), ("relacional", " >= ", " > "),
    ("relacional", " == ", " != "), ("relacional", " != ", " == "),
    ("aritmetico", " + ", " - "), ("aritmetico", " - ", " + "),
    ("aritmetico", " * ", " / "), ("aritmetico", " / ", " * "),
    ("aritmetico", " += ", " -= "), ("aritmetico", " -= ", " += "),
    ("bits", " & ", " | "), ("bits", " | ", " & "), ("bits", " ^ ", " | "),
    ("logico", " && ", " || "), ("logico", " || ", " && "),
    ("booleano", "true", "false"), ("booleano", "false", "true"),
]
PALABRA = re.compile(r"\b(true|false)\b")
ENTERO = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?:[uU]?(?:ll|LL|l|L)?[uU]?)\b(?!\.)")
DECLARACION = re.compile(r"^(?:(?:const|static|constexpr|inline)\s+)*[A-Za-z_][\w:<>,]*[\s*&]+"
                         r"[A-Za-z_]\w*\s*(?:=|;|\[|\(|\{)")
CABECERA_IF = re.compile(r"\bif \(")


def codigo_de(linea):
    """The line with string and character literals blanked and any trailing comment cut off."""
    salida, i, n = [], 0, len(linea)
    while i < n:
        c = linea[i]
        if linea.startswith("//", i):
            break
        if c in "\"'":
            fin = i + 1
            while fin < n and linea[fin] != c:
                fin += 2 if linea[fin] == "\\" else 1
            salida.append(c + " " * (min(fin, n) - i - 1) + (c if fin < n else ""))
            i = fin + 1
            continue
        salida.append(c)
        i += 1
    return "".join(salida)


def parentesis_cerrado(codigo, abre):
    nivel = 0
    for i in range(abre, len(codigo)):
        if codigo[i] == "(":
            nivel += 1
        elif codigo[i] == ")":
            nivel -= 1
            if nivel == 0:
                return i
    return -1


def sitios_de_linea(linea, anterior):
    """Every (operator, start, end, replacement) that can be applied to this line."""
    codigo = codigo_de(linea)
    desnudo = codigo.strip()
    if not desnudo or desnudo.startswith(("#", "*", "/*")) or "static_assert" in desnudo:
        return []
    sitios = []
    for tipo, de, a in INTERCAMBIOS:
        if tipo == "booleano":
            for m in PALABRA.finditer(codigo):
                if m.group(1) == de:
                    sitios.append(("booleano", m.start(), m.end(), a))
            continue
        inicio = codigo.find(de)
        while inicio >= 0:
            # " < " must not be the tail of " << " and so on.
            antes = codigo[inicio - 1] if inicio > 0 else " "
            despues = codigo[inicio + len(de)] if inicio + len(de) < len(codigo) else " "
            if antes not in "<>=!&|" and despues not in "<>=&|":
                sitios.append((tipo, inicio, inicio + len(de), a))
            inicio = codigo.find(de, inicio + 1)
    for m in ENTERO.finditer(codigo):
        texto = m.group(1)
        valor = int(texto, 16) if texto.lower().startswith("0x") else int(texto)
        nuevo = hex(valor + 1) if texto.lower().startswith("0x") else str(valor + 1)
        sitios.append(("constante", m.start(1), m.end(1), nuevo))
    for m in CABECERA_IF.finditer(codigo):
        abre = m.end() - 1
        cierra = parentesis_cerrado(codigo, abre)
        if cierra > 0:
            condicion = linea[abre + 1:cierra]
            sitios.append(("negacion", abre + 1, cierra, "!(" + condicion + ")"))
            sitios.append(("condicion", abre + 1, cierra, "true"))
    previo = codigo_de(anterior).strip()
    if (desnudo.endswith(";") and not desnudo.startswith(("return", "case", "default", "}"))
            and not DECLARACION.match(desnudo) and previo.endswith((";", "{", "}", ":", ")"))):
        inicio = codigo.index(desnudo[0])
        sitios.append(("sentencia", inicio, inicio + len(desnudo), "{}"))
    return sitios


def todos_los_sitios():
    sitios = []
    for ruta in sorted((RAIZ / "src").rglob("*")):
        relativa = ruta.relative_to(RAIZ).as_posix()
        if ruta.suffix not in (".cpp", ".h") or relativa in EXCLUIDOS:
            continue
        lineas = ruta.read_text().split("\n")
        for numero, linea in enumerate(lineas):
            anterior = lineas[numero - 1] if numero > 0 else ""
            for tipo, inicio, fin, reemplazo in sitios_de_linea(linea, anterior):
                sitios.append({"archivo": relativa, "linea": numero + 1, "tipo": tipo,
                               "inicio": inicio, "fin": fin, "reemplazo": reemplazo,
                               "original": linea})
    return sitios


def mezclar_por_tipo(sitios, azar):
    """A random order that takes the operator kinds in turn, so that the many literals of the
    constant tables do not crowd out the other kinds."""
    tipos = {}
    for s in sitios:
        tipos.setdefault(s["tipo"], []).append(s)
    for lista in tipos.values():
        azar.shuffle(lista)
    orden, ronda = [], 0
    while any(ronda < len(l) for l in tipos.values()):
        turno = [l[ronda] for l in tipos.values() if ronda < len(l)]
        azar.shuffle(turno)
        orden.extend(turno)
        ronda += 1
    return orden


def muestra(sitios, cuantos, semilla):
    """The same number from each subsystem (the rest from the larger ones), in a fixed order."""
    azar = random.Random(semilla)
    grupos = {s: mezclar_por_tipo([x for x in sitios if x["archivo"].split("/")[1] == s], azar)
              for s in SUBSISTEMAS}
    elegidos, ronda = [], 0
    while len(elegidos) < cuantos and any(ronda < len(g) for g in grupos.values()):
        for s in SUBSISTEMAS:
            if ronda < len(grupos[s]) and len(elegidos) < cuantos:
                elegidos.append(grupos[s][ronda])
        ronda += 1
    return elegidos


def nombre(sitio):
    return "%s:%d:%s:%d" % (sitio["archivo"], sitio["linea"], sitio["tipo"], sitio["inicio"])


def ejecutar(orden, directorio, plazo):
    try:
        r = subprocess.run(orden, cwd=directorio, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=plazo)
        return r.returncode == 0
    except subprocess.TimeoutExpired:
        return False


def preparar_copia(arbol, trabajos):
    arbol.mkdir(parents=True, exist_ok=True)
    for nombre_ in COPIAR:
        origen, destino = RAIZ / nombre_, arbol / nombre_
        # Fresh copies with fresh times: a file left mutated by an interrupted run must be
        # rebuilt from the original.
        if destino.is_dir():
            shutil.rmtree(destino)
        if origen.is_dir():
            shutil.copytree(origen, destino, copy_function=shutil.copy)
        elif origen.exists():
            shutil.copy(origen, destino)
    construccion = arbol / "build"
    configurar = ["cmake", "-S", ".", "-B", "build", "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                  "-DQV_BENCH=OFF"]
    if not ejecutar(configurar, arbol, 600):
        sys.exit("mutantes: the copy does not configure")
    return construccion


def probar(construccion, trabajos, plazo_prueba):
    if not ejecutar(["cmake", "--build", ".", "-j", str(trabajos)], construccion, 1200):
        return "no compila"
    orden = ["ctest", "-j", str(trabajos), "--stop-on-failure", "--timeout", str(plazo_prueba)]
    return "sobrevive" if ejecutar(orden, construccion, 20 * plazo_prueba) else "muerto"


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--muestra", type=int, default=120)
    p.add_argument("--semilla", type=int, default=1)
    p.add_argument("--trabajos", type=int, default=2)
    p.add_argument("--plazo", type=int, default=120, help="seconds per test before it fails")
    p.add_argument("--comparar", help="an earlier result table of the same sample")
    p.add_argument("--listar", action="store_true", help="print the sample and stop")
    p.add_argument("--archivos", nargs="+", metavar="RUTA",
                   help="draw the mutants from these files only (paths from the repository root)")
    args = p.parse_args()

    sitios = todos_los_sitios()
    if args.archivos:
        sitios = [s for s in sitios if s["archivo"] in args.archivos]
        if not sitios:
            sys.exit("mutantes: no mutation site in the files given")
    elegidos = muestra(sitios, args.muestra, args.semilla)
    if args.listar:
        for s in elegidos:
            linea = s["original"]
            mutada = linea[:s["inicio"]] + s["reemplazo"] + linea[s["fin"]:]
            print("%s\n    - %s\n    + %s" % (nombre(s), linea.strip(), mutada.strip()))
        return

    salida = RAIZ / "build" / "mutantes"
    arbol = salida / "arbol"
    construccion = preparar_copia(arbol, args.trabajos)
    if probar(construccion, args.trabajos, args.plazo) != "sobrevive":
        sys.exit("mutantes: the unmutated suite does not pass")

    resultados = []
    for i, s in enumerate(elegidos, 1):
        destino = arbol / s["archivo"]
        original = destino.read_text()
        lineas = original.split("\n")
        if lineas[s["linea"] - 1] != s["original"]:
            sys.exit("mutantes: %s changed while running" % s["archivo"])
        linea = s["original"]
        lineas[s["linea"] - 1] = linea[:s["inicio"]] + s["reemplazo"] + linea[s["fin"]:]
        comienzo = time.time()
        try:
            destino.write_text("\n".join(lineas))
            veredicto = probar(construccion, args.trabajos, args.plazo)
        finally:
            destino.write_text(original)
        resultados.append((s, veredicto))
        print("[%d/%d] %-9s %5.0f s  %s" % (i, len(elegidos), veredicto, time.time() - comienzo,
                                            nombre(s)), flush=True)

    tabla = salida / ("resultado-%d.tsv" % args.semilla)
    with open(tabla, "w") as f:
        for s, veredicto in resultados:
            f.write("%s\t%s\t%s\n" % (nombre(s), veredicto, s["original"].strip()))

    print("\n%-11s %7s %10s %10s" % ("subsystem", "killed", "survived", "no build"))
    for sub in SUBSISTEMAS + ["total"]:
        v = [r for s, r in resultados if sub == "total" or s["archivo"].split("/")[1] == sub]
        print("%-11s %7d %10d %10d" % (sub, v.count("muerto"), v.count("sobrevive"),
                                        v.count("no compila")))
    compilan = [r for _, r in resultados if r != "no compila"]
    if compilan:
        print("kill rate: %.1f%% of the %d mutants that build" %
              (100.0 * compilan.count("muerto") / len(compilan), len(compilan)))
    print("survivors:")
    for s, r in resultados:
        if r == "sobrevive":
            print("  %s   %s" % (nombre(s), s["original"].strip()))
    if args.comparar:
        antes = {}
        for fila in open(args.comparar):
            partes = fila.rstrip("\n").split("\t")
            antes[partes[0]] = partes[1]
        perdidos = [nombre(s) for s, r in resultados
                    if antes.get(nombre(s)) == "muerto" and r != "muerto"]
        print("killed before, not now: %s" % (", ".join(perdidos) or "none"))
    print("table: %s" % tabla.relative_to(RAIZ))


if __name__ == "__main__":
    main()
