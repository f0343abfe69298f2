#!/usr/bin/env bash
# Installs the Debian packages that are missing for the named sets. The build set is always
# included; it is all that building and running the engine needs.
#   construccion  compiler, CMake, Ninja
#   pruebas       GoogleTest (the installed libraries, and the sources a 32-bit build compiles)
#   fuzz          clang and its runtimes (libFuzzer, sanitizers)
#   windows       the mingw-w64 cross-compilers
#   wine          wine, which runs the 64-bit Windows engine for its end-to-end tests
#   m32           the 32-bit Linux build, and qemu-user for kernels that cannot run it
#   mutantes      the mutation tester's interpreter
set -euo pipefail
declare -A conjuntos=(
    [construccion]="g++ cmake ninja-build make"
    [pruebas]="libgtest-dev"
    [fuzz]="clang libclang-rt-dev"
    [windows]="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix"
    [wine]="wine64 wine"
    [m32]="g++-multilib qemu-user libgtest-dev"
    [mutantes]="python3"
)
paquetes=(${conjuntos[construccion]})
for conjunto in "$@"; do
    if [ -z "${conjuntos[$conjunto]+x}" ]; then
        echo "dependencias.sh: unknown set '$conjunto' (sets: ${!conjuntos[*]})" >&2
        exit 2
    fi
    paquetes+=(${conjuntos[$conjunto]})
done
faltan=()
declare -A visto=()
for p in "${paquetes[@]}"; do
    [ -n "${visto[$p]+x}" ] && continue
    visto[$p]=1
    estado=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$estado" = "install ok installed" ] || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0
echo "Instalando: ${faltan[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq "${faltan[@]}"
