#!/usr/bin/env bash
# `make install` into a scratch DESTDIR puts exactly the engine, its manual page and the README
# under PREFIX, and `make uninstall` takes them all away again.
set -euo pipefail
mkdir -p build
destino=$(mktemp -d build/prueba-instalacion.XXXXXX)
# The manifest of a real install, which `make uninstall` reads, survives the test's own.
manifiesto=build/release/install_manifest.txt
[ ! -f "$manifiesto" ] || cp "$manifiesto" "$destino.manifiesto"
restaurar() {
    if [ -f "$destino.manifiesto" ]; then mv "$destino.manifiesto" "$manifiesto"; else rm -f "$manifiesto"; fi
    rm -rf "$destino"
}
trap restaurar EXIT
make --no-print-directory install DESTDIR="$PWD/$destino" PREFIX=/usr >/dev/null
esperados="$destino/usr/bin/quorvantel
$destino/usr/share/doc/quorvantel/README.md
$destino/usr/share/man/man6/quorvantel.6"
instalados=$(find "$destino" -type f | sort)
[ "$instalados" = "$esperados" ] || { echo "instalacion.sh: make install put"$'\n'"$instalados" >&2; exit 1; }
[ -x "$destino/usr/bin/quorvantel" ] || { echo "instalacion.sh: the engine is not executable" >&2; exit 1; }
make --no-print-directory uninstall DESTDIR="$PWD/$destino" >/dev/null
restos=$(find "$destino" -type f -o -type d -name quorvantel)
[ -z "$restos" ] || { echo "instalacion.sh: make uninstall left"$'\n'"$restos" >&2; exit 1; }
echo "instalacion.sh: make install and make uninstall pass"
