#!/usr/bin/env bash
# The Debian packages as a user gets them: lintian reports nothing, each holds exactly the
# expected files, and its engine, unpacked, starts up and gives the native engine's bench
# signature (another architecture's engine under qemu-user).
#   deb.sh NATIVE_ENGINE PACKAGE.deb...
set -euo pipefail
nativo=$1
shift
ARCHIVOS="-rwxr-xr-x root/root ./usr/games/quorvantel
-rw-r--r-- root/root ./usr/share/doc/quorvantel/README.md.gz
-rw-r--r-- root/root ./usr/share/doc/quorvantel/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/quorvantel/copyright
-rw-r--r-- root/root ./usr/share/lintian/overrides/quorvantel
-rw-r--r-- root/root ./usr/share/man/man6/quorvantel.6.gz"

nodos() { timeout 600 "$@" bench | sed -n 's/^\([0-9]*\) nodes [0-9]* nps$/\1/p'; }
firma=$(nodos "$nativo")
[ -n "$firma" ] || { echo "deb.sh: no bench signature from $nativo" >&2; exit 1; }
# Beside the builds, since a temporary folder may forbid running programs.
mkdir -p build
raiz=$(mktemp -d build/prueba-deb.XXXXXX)
trap 'rm -rf "$raiz"' EXIT

fallos=0
falla() { echo "FAILED $paquete: $*" >&2; fallos=$((fallos + 1)); }
for paquete in "$@"; do
    echo "== $paquete"
    lintian --fail-on error,warning "$paquete" || falla "lintian"
    lista=$(dpkg-deb -c "$paquete" | awk '$6 !~ /\/$/ { print $1, $2, $6 }' | sort -k3)
    [ "$lista" = "$ARCHIVOS" ] || falla "its files are"$'\n'"$lista"
    arq=$(dpkg-deb -f "$paquete" Architecture)
    dpkg-deb -x "$paquete" "$raiz/$arq"
    motor=("$raiz/$arq/usr/games/quorvantel")
    [ "$arq" = "$(dpkg --print-architecture)" ] || motor=("qemu-$(dpkg-architecture -a"$arq" -qDEB_HOST_GNU_CPU 2>/dev/null)" "${motor[@]}")
    inicio=$(printf 'uci\nquit\n' | timeout 60 "${motor[@]}") || falla "start-up ended with status $?"
    grep -qx uciok <<<"$inicio" || falla "no uciok at start-up"
    [ "$(nodos "${motor[@]}")" = "$firma" ] || falla "bench differs from the native signature $firma"
done
[ $fallos -eq 0 ] && echo "deb.sh: $# packages pass"
exit $(( fallos > 0 ))
