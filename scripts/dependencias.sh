#!/usr/bin/env bash
# Installs the Debian packages that are missing for the named sets. The build set is always
# included; it is all that building and running the engine needs.
#   construccion  compiler, CMake, Ninja
#   pruebas       GoogleTest (the installed libraries, and the sources a 32-bit build compiles)
#   fuzz          clang and its runtimes (libFuzzer, sanitizers)
#   windows       the mingw-w64 cross-compilers
#   wine          wine for both Windows engines: the 64-bit one, and the 32-bit one from the
#                 i386 architecture, which the script adds to dpkg first; and qemu-user, which
#                 runs the 32-bit one where the kernel cannot (ejecucion.sh registers it)
#   m32           the 32-bit Linux build (g++-12-multilib: the unversioned g++-multilib
#                 conflicts with every cross-compiler), and qemu-user for kernels that cannot
#                 run it
#   aarch64       the 64-bit ARM Linux cross-compiler, and qemu-user to run its programs
#   web           Emscripten for the WebAssembly engine, Node.js and npm for the page and its
#                 tests, and Chromium for the browser tests
#   mutantes      the mutation tester's interpreter
#   partidos      stockfish as a measuring opponent, and Node.js for the match runner
#   paquetes      the Debian packages: debhelper and lintian; the ARM cross-compiler, the ARM
#                 C and C++ libraries from the arm64 architecture, which the script adds to dpkg
#                 first (the package's dependencies are read from them, and qemu-user runs its
#                 engine with them); the release archives (zip) and the man page's check (groff)
# A package that cannot be installed ends the script with its name and status 1.
set -euo pipefail
declare -A conjuntos=(
    [construccion]="g++ cmake ninja-build make"
    [pruebas]="libgtest-dev"
    [fuzz]="clang libclang-rt-dev"
    [windows]="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix"
    [wine]="wine64 wine wine32:i386 qemu-user"
    [m32]="g++-12-multilib qemu-user libgtest-dev"
    [aarch64]="g++-aarch64-linux-gnu qemu-user"
    [web]="emscripten nodejs chromium"
    [mutantes]="python3"
    [partidos]="stockfish nodejs"
    [paquetes]="debhelper lintian dpkg-dev g++-aarch64-linux-gnu libc6:arm64 libstdc++6:arm64 libgcc-s1:arm64 qemu-user zip groff"
)
paquetes=(${conjuntos[construccion]})
for conjunto in "$@"; do
    if [ -z "${conjuntos[$conjunto]+x}" ]; then
        echo "dependencias.sh: unknown set '$conjunto' (sets: ${!conjuntos[*]})" >&2
        exit 2
    fi
    paquetes+=(${conjuntos[$conjunto]})
done

instalado() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}

faltan=()
declare -A visto=()
for p in "${paquetes[@]}"; do
    [ -n "${visto[$p]+x}" ] && continue
    visto[$p]=1
    instalado "$p" || faltan+=("$p")
done
# npm comes with Node.js from other sources than Debian; Debian's own Node.js needs its package.
if [ -n "${visto[nodejs]+x}" ] && ! command -v npm >/dev/null; then faltan+=(npm); fi
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
instalar() {
    echo "Instalando: ${faltan[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # Packages of another architecture (name:arch) need that architecture known to dpkg before the
    # package lists are read.
    for p in "${faltan[@]}"; do
        arq=${p#*:}
        [ "$arq" = "$p" ] && continue
        dpkg --print-foreign-architectures | grep -qx "$arq" || $sudo_cmd dpkg --add-architecture "$arq"
    done
    apt_opciones=(-o Acquire::Retries=5 -qq)
    $sudo_cmd apt-get "${apt_opciones[@]}" update
    $sudo_cmd apt-get "${apt_opciones[@]}" install -y "${faltan[@]}" || true
    sin_instalar=()
    for p in "${faltan[@]}"; do instalado "$p" || sin_instalar+=("$p"); done
    if [ ${#sin_instalar[@]} -gt 0 ]; then
        echo "dependencias.sh: could not install: ${sin_instalar[*]}" >&2
        exit 1
    fi
}

[ ${#faltan[@]} -eq 0 ] || instalar
# The 32-bit Windows engine under qemu-i386 needs a handler in binfmt_misc where the kernel runs
# no 32-bit programs.
if [ -n "${visto[wine32:i386]+x}" ]; then
    $sudo_cmd env QV_SIN_32="${QV_SIN_32:-}" "$(dirname "$0")/ejecucion.sh" preparar || true
fi
