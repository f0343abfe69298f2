#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
paquetes=(g++ cmake ninja-build libgtest-dev make clang libclang-rt-14-dev)
# Windows cross-builds, the 32-bit Linux build, wine for the Windows engine's end-to-end tests,
# qemu-user for 32-bit programs on kernels that cannot run them (googletest, the sources the
# 32-bit build compiles, comes with libgtest-dev).
paquetes+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix g++-multilib wine64 wine qemu-user)
faltan=()
for p in "${paquetes[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0
echo "Instalando: ${faltan[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq "${faltan[@]}"
