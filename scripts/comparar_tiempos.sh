#!/bin/bash
# Times the search benchmark of several bench builds, interleaved and pinned to one core, and
# prints each build's median and fastest run: on a shared machine a core can slow down for
# minutes, which interleaving spreads over all builds alike.
#   scripts/comparar_tiempos.sh RUNS BENCH_BINARY... [CORE=1]
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 RUNS BENCH_BINARY..." >&2
    exit 2
fi
runs=$1
shift
core=${CORE:-1}
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for _ in $(seq 1 "$runs"); do
    for binary in "$@"; do
        seconds=$(taskset -c "$core" "$binary" busqueda 1 | awk '/busqueda 1:/ {print $5}')
        echo "$binary $seconds" >> "$results"
    done
done
for binary in "$@"; do
    awk -v b="$binary" '$1 == b {print $2}' "$results" | sort -n |
        awk -v b="$binary" '{t[NR] = $1} END {printf "%s  median %s s  fastest %s s  runs %d\n", b, t[int((NR + 1) / 2)], t[1], NR}'
done
