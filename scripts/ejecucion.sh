#!/usr/bin/env bash
# How this machine runs each engine that make test checks. The 32-bit x86 engines (Linux and
# Windows) need a kernel that runs 32-bit programs; where it runs none (ia32 emulation off), the
# 32-bit Linux engine runs under qemu-i386, and the 32-bit Windows one under wine under qemu-i386,
# which needs qemu-i386 registered with binfmt_misc, since wine starts its own loader again.
# QV_SIN_32=1 (make SIN_32=1) takes the paths of such a kernel on any machine.
#   ejecucion.sh preparar   (root, from dependencias.sh) mounts binfmt_misc and registers the
#                           handler where the 32-bit paths are emulated, disables it where they
#                           are not; prints one line for each change
#   ejecucion.sh modo32     nativo | qemu (wine finds the handler) | ninguno
#   ejecucion.sh motivo     why the 32-bit Windows engine cannot run here (empty where it can)
#   ejecucion.sh informe    one line per engine: how it runs here
set -euo pipefail

BINFMT=/proc/sys/fs/binfmt_misc
ENTRADA=$BINFMT/quorvantel-i386
QEMU_I386=/usr/bin/qemu-i386
# 32-bit little-endian ELF executables and shared objects for x86 with the System V ABI byte
# (every program of a 32-bit system): the probe below, marked GNU/Linux, is never one of them.
MAGIA='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASCARA='\xff\xff\xff\xff\xff\xfe\xfe\xff\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

forzado() { [ -n "${QV_SIN_32:-}" ] && [ "${QV_SIN_32}" != 0 ]; }

# True where the kernel itself starts a 32-bit x86 program: a 93-byte ELF that only calls
# exit(0), marked GNU/Linux so that the handler above never takes it. It is written beside the
# builds, whose programs run, since a temporary folder may forbid running anything.
nucleo_de_32() {
    local sonda
    mkdir -p "$(dirname "$0")/../build"
    sonda=$(mktemp "$(dirname "$0")/../build/sonda32.XXXXXX")
    printf '\x7fELF\x01\x01\x01\x03\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0'\
'\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08'\
'\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >"$sonda"
    chmod +x "$sonda"
    local r=0
    "$sonda" 2>/dev/null || r=1
    rm -f "$sonda"
    return $r
}

emulado() { forzado || ! nucleo_de_32; }

manejador_activo() { [ -f "$ENTRADA" ] && head -n1 "$ENTRADA" | grep -qx enabled; }

# A handler left enabled by an earlier run takes wine's 32-bit loader even on a kernel that could
# run it, until a run as root disables it: the paths are then those of qemu.
modo32() {
    if ! emulado && ! manejador_activo; then
        echo nativo
    elif manejador_activo && [ -x "$QEMU_I386" ]; then
        echo qemu
    else
        echo ninguno
    fi
}

motivo() {
    [ "$(modo32)" = ninguno ] || return 0
    local causa=
    if ! grep -qw binfmt_misc /proc/filesystems; then
        causa="this kernel has no binfmt_misc"
    elif [ "$(id -u)" -ne 0 ]; then
        causa="registering qemu-i386 with binfmt_misc needs root (sudo scripts/ejecucion.sh preparar, until the next boot)"
    elif [ ! -x "$QEMU_I386" ]; then
        causa="qemu-i386 is not installed"
    else
        causa="qemu-i386 could not be registered with binfmt_misc"
    fi
    local nucleo="the kernel runs no 32-bit programs"
    forzado && nucleo="SIN_32 takes the paths of a kernel without 32-bit programs"
    echo "32-bit Windows engine skipped: $nucleo, and $causa"
}

preparar() {
    [ "$(id -u)" -eq 0 ] || return 0
    if ! emulado; then
        if manejador_activo; then
            if echo 0 >"$ENTRADA"; then
                echo "ejecucion.sh: disabled $ENTRADA: this kernel runs 32-bit programs itself"
            else
                echo "ejecucion.sh: could not disable $ENTRADA" >&2
            fi
        fi
        return 0
    fi
    grep -qw binfmt_misc /proc/filesystems && [ -x "$QEMU_I386" ] || return 0
    local hecho=()
    if [ ! -f "$BINFMT/register" ]; then
        mount -t binfmt_misc binfmt_misc "$BINFMT" || return 0
        hecho+=("mounted binfmt_misc on $BINFMT")
    fi
    if [ ! -f "$ENTRADA" ]; then
        printf '%s' ":${ENTRADA##*/}:M::$MAGIA:$MASCARA:$QEMU_I386:" >"$BINFMT/register" || return 0
        hecho+=("registered $QEMU_I386 for 32-bit x86 programs as $ENTRADA")
    elif ! manejador_activo; then
        echo 1 >"$ENTRADA" || return 0
        hecho+=("enabled $ENTRADA ($QEMU_I386 for 32-bit x86 programs)")
    fi
    if [ ${#hecho[@]} -gt 0 ]; then
        local texto
        texto=$(printf '%s, ' "${hecho[@]}")
        echo "ejecucion.sh: ${texto%, } (until the next boot)"
    fi
}

informe() {
    local m32 win32 node
    case "$(modo32)" in
        nativo) m32="native"; win32="wine" ;;
        qemu) m32="qemu-user (qemu-i386)"
              win32="wine under qemu-i386 (a fixed subset of the end-to-end tests)" ;;
        *) m32="qemu-user (qemu-i386)"; win32="$(motivo)" ;;
    esac
    node=$(node --version 2>/dev/null || echo "not installed")
    echo "How each engine runs on this machine$(forzado && echo ' (SIN_32: the 32-bit paths emulated)'):"
    printf '  %-24s %s\n' \
        "x86-64 Linux" "native" \
        "32-bit Linux" "$m32" \
        "64-bit Windows" "wine (its 64-bit loader)" \
        "32-bit Windows" "$win32" \
        "64-bit ARM Linux" "qemu-user (qemu-aarch64)" \
        "WebAssembly" "Node.js $node"
}

case "${1:-}" in
    preparar) preparar ;;
    modo32) modo32 ;;
    motivo) motivo ;;
    informe) informe ;;
    *) echo "usage: $0 preparar|modo32|motivo|informe" >&2; exit 2 ;;
esac
