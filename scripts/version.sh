#!/usr/bin/env bash
# The engine's version in the forms the packages need, drawn from the one place it is written:
# TextoVersion in src/consola/version.h, a number with an optional pre-release word ("0.11 BETA").
#   version.sh texto    0.11 BETA     (as the engine's banner shows it)
#   version.sh debian   0.11~beta     (Debian: "~" sorts a pre-release before its release)
#   version.sh npm      0.11.0-beta   (semver: three numbers, the pre-release after a hyphen; also
#                                      the version in the release archives' names)
set -euo pipefail
cabecera="$(dirname "$0")/../src/consola/version.h"
texto=$(sed -n 's/.*TextoVersion = "\(.*\)";.*/\1/p' "$cabecera")
numero=${texto%% *}
palabra=""
[[ "$texto" == *" "* ]] && palabra=$(echo "${texto#* }" | tr '[:upper:] ' '[:lower:].')
if ! [[ "$numero" =~ ^[0-9]+(\.[0-9]+){0,2}$ && "$palabra" =~ ^[a-z0-9.]*$ ]]; then
    echo "version.sh: cannot read a version from TextoVersion \"$texto\" in $cabecera" >&2
    exit 1
fi
case "${1:-}" in
    texto) echo "$texto" ;;
    debian) echo "$numero${palabra:+~$palabra}" ;;
    npm)
        partes=(${numero//./ } 0 0)
        echo "${partes[0]}.${partes[1]}.${partes[2]}${palabra:+-$palabra}" ;;
    *) echo "usage: $0 texto|debian|npm" >&2; exit 2 ;;
esac
