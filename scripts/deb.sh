#!/usr/bin/env bash
# Builds the Debian package for each architecture named (amd64, arm64: cross-built) into
# dist/quorvantel_<version>_<arch>.deb, from debian/ with debhelper, run from the source root. The
# changelog, which carries the package's version, is written first from scripts/version.sh.
#   deb.sh ARCH...
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(scripts/version.sh debian)
# The date of the last change to the version: the same package from the same commit.
fecha=$(git log -1 --format=%aD -- src/consola/version.h 2>/dev/null || true)
[ -n "$fecha" ] || fecha=$(date -R -r src/consola/version.h)
cat >debian/changelog <<FIN
quorvantel ($version) unstable; urgency=medium

  * Version $(scripts/version.sh texto).

 -- $(sed -n 's/^Maintainer: //p' debian/control)  $fecha
FIN
mkdir -p dist
for arq in "$@"; do
    # As dpkg-buildpackage would call it for a package that needs no root to build; from scratch,
    # since a build tree keeps the compiler flags it was first configured with.
    # The architecture's own compiler, which dpkg-architecture checks the target against.
    tipo=$(dpkg-architecture -a"$arq" -qDEB_HOST_GNU_TYPE 2>/dev/null)
    for objetivo in clean binary; do
        CC=$tipo-gcc CXX=$tipo-g++ DEB_RULES_REQUIRES_ROOT=no DEB_BUILD_OPTIONS="nocheck parallel=${JOBS:-2}" \
            dpkg-architecture -a"$arq" -f -c debian/rules $objetivo
    done
done
