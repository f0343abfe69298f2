#!/usr/bin/env bash
# Gathers in dist/release what `make release` hands out, from what `make dist`, `make deb` and
# `make npm` left in dist/: an archive per engine (.tar.gz for Linux, .zip for Windows) holding
# the engine, the README, the manual page, the licence and the third-party notices in a folder
# named like the archive; the Debian packages; the npm package; and SHA256SUMS over them all.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(scripts/version.sh npm)
salida=dist/release
DOCUMENTOS=(README.md doc/quorvantel.6 LICENSE THIRD-PARTY-NOTICES)
# Archives that differ only in when they were made are the same bytes.
fecha=$(git log -1 --format=%ct 2>/dev/null || date +%s)

rm -rf "$salida"
mkdir -p "$salida/tmp"
for motor in dist/quorvantel-x86-64 dist/quorvantel-x86-64-v3 dist/quorvantel-aarch64 \
             dist/quorvantel-win32.exe dist/quorvantel-win64.exe; do
    plataforma=${motor#dist/quorvantel-}
    plataforma=${plataforma%.exe}
    nombre=quorvantel-$version-$plataforma
    carpeta=$salida/tmp/$nombre
    mkdir -p "$carpeta"
    extension=${motor##*/quorvantel-"$plataforma"}
    install -m 755 "$motor" "$carpeta/quorvantel$extension"
    install -m 644 "${DOCUMENTOS[@]}" "$carpeta/"
    touch -d "@$fecha" "$carpeta" "$carpeta"/*
    if [ -n "$extension" ]; then
        (cd "$salida/tmp" && zip -qrX "../$nombre.zip" "$nombre")
    else
        tar -C "$salida/tmp" --sort=name --owner=0 --group=0 --numeric-owner -cf - "$nombre" |
            gzip -9n >"$salida/$nombre.tar.gz"
    fi
done
rm -rf "$salida/tmp"
cp dist/quorvantel_"$(scripts/version.sh debian)"_*.deb "dist/quorvantel-$version.tgz" "$salida/"
(cd "$salida" && sha256sum -- * >SHA256SUMS)
ls -l "$salida"
