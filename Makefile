# Entry points: `make run` builds the release engine and starts it; `make test` builds and
# runs every test. Each build is a preset of CMakePresets.json, in build/<preset>. Each target
# first installs the Debian packages it needs (scripts/dependencias.sh); the build set alone
# serves run, build and bench.
JOBS ?= 2
DEPENDENCIAS := ./scripts/dependencias.sh
EJECUCION := ./scripts/ejecucion.sh
# SIN_32=1 takes the paths of a kernel that runs no 32-bit programs on any machine: the 32-bit
# Linux engine under qemu-user, the 32-bit Windows one under wine under qemu-i386.
ifdef SIN_32
export QV_SIN_32 := $(SIN_32)
endif
# $(call construir,preset[,build options]) configures and builds one preset; $(call probar,preset)
# also runs its tests.
construir = cmake --preset $(1) && cmake --build --preset $(1) -j $(JOBS) $(2)
probar = $(call construir,$(1)) && ctest --preset $(1) -j $(JOBS)
# The end-to-end test programs of the test build, which the other engines' tests run.
e2e_anfitrion = $(call construir,test,--target pruebas_e2e)
# The Debian form of the version in src/consola/version.h.
VERSION_DEBIAN = $(shell ./scripts/version.sh debian)

.PHONY: run build test deps deps-test test-release test-asan bench clean fuzz fuzz-build \
	test-fuzz dist build-win32 build-win64 build-aarch64 test-windows test-m32 test-aarch64 \
	bench-m32 mutantes web web-serve test-web npm test-npm install uninstall deb test-deb release

deps:
	@$(DEPENDENCIAS)

deps-test:
	@$(DEPENDENCIAS) pruebas fuzz windows wine m32 aarch64 web paquetes
	@$(EJECUCION) informe

build: deps
	$(call construir,release)

run: build
	@./build/release/quorvantel

# `make install` puts the release engine in $(PREFIX)/bin, its manual page in share/man/man6 and
# the README in share/doc/quorvantel, under DESTDIR when given; `make uninstall` removes the files
# that the last install listed in the build's manifest (with the same DESTDIR).
PREFIX ?= /usr/local
MANIFIESTO := build/release/install_manifest.txt
install: build
	DESTDIR=$(DESTDIR) cmake --install build/release --prefix $(PREFIX)

uninstall:
	@test -f $(MANIFIESTO) || { echo "make uninstall: no $(MANIFIESTO): nothing was installed from this tree" >&2; exit 1; }
	@while read -r archivo || [ -n "$$archivo" ]; do rm -fv "$(DESTDIR)$$archivo"; \
		carpeta=$$(dirname "$(DESTDIR)$$archivo"); \
		[ "$${carpeta##*/}" != quorvantel ] || rmdir --ignore-fail-on-non-empty "$$carpeta"; \
	done < $(MANIFIESTO)

# Every engine handed out passes the same end-to-end tests: the native one, the 32-bit Linux one,
# both Windows ones under wine, the ARM one under qemu-user and the WebAssembly one under Node.js;
# the page is tested in Chromium. Where the kernel runs no 32-bit programs, the 32-bit Windows
# engine runs a subset under qemu-i386, or is skipped with the reason printed last.
test: deps-test test-release test-asan test-fuzz test-m32 test-windows test-aarch64 test-web test-npm \
	test-deb
	@$(EJECUCION) motivo

test-release:
	@$(DEPENDENCIAS) pruebas
	$(call probar,test)

test-asan:
	@$(DEPENDENCIAS) pruebas
	$(call probar,asan)

bench: deps
	$(call construir,bench)
	./build/bench/quorvantel_bench $(BENCH_ARGS)

# libFuzzer, one target per input surface: FEN set-up (posicion), move words (movimientos), the
# arguments of "go", "setoption" and "position" (palabras) and whole console sessions (consola),
# each with its seeds in fuzz/corpus/<target>. `make fuzz` runs each for FUZZ_SECONDS; `make test`
# runs each from its seeds alone with a fixed seed, the console for 28 s and the others for 9 s.
# New inputs go to corpora in the build tree, never to fuzz/corpus, and any crash, leak or slow
# input fails the run.
FUZZ_SECONDS ?= 180
FUZZ_DIR := build/fuzz
FUZZ_OBJETIVOS := posicion movimientos palabras consola
FUZZ_OPCIONES = -dict=fuzz/diccionario.txt -timeout=20 -print_final_stats=1
# Longer inputs would only slow the fast targets down.
FUZZ_LARGO_posicion := -max_len=256
FUZZ_LARGO_movimientos := -max_len=128
FUZZ_LARGO_palabras := -max_len=256
FUZZ_PRUEBA_SEGUNDOS = $(if $(filter consola,$(1)),28,9)
# $(call fuzz_ejecutar,target,corpus directory,options)
fuzz_ejecutar = mkdir -p $(FUZZ_DIR)/$(2)/$(1) && $(FUZZ_DIR)/fuzz_$(1) $(FUZZ_OPCIONES) \
	-artifact_prefix=$(FUZZ_DIR)/hallazgo-$(1)- $(FUZZ_LARGO_$(1)) $(3) $(FUZZ_DIR)/$(2)/$(1) fuzz/corpus/$(1)

fuzz-build:
	@$(DEPENDENCIAS) fuzz
	$(call construir,fuzz)

fuzz: fuzz-build
	$(foreach o,$(FUZZ_OBJETIVOS),$(call fuzz_ejecutar,$(o),corpus,-max_total_time=$(FUZZ_SECONDS)) && ) true

test-fuzz: fuzz-build
	rm -rf $(FUZZ_DIR)/corpus-test
	$(foreach o,$(FUZZ_OBJETIVOS),$(call fuzz_ejecutar,$(o),corpus-test,-seed=1 -max_total_time=$(call FUZZ_PRUEBA_SEGUNDOS,$(o))) && ) true

# Windows executables from Debian's mingw-w64 (static, so they run on a bare Windows machine), and
# a static 64-bit ARM Linux one. `make dist` puts them in dist/ with two x86-64 Linux engines, one
# for any x86-64 CPU and one for x86-64-v3 CPUs (AVX2, BMI2 and POPCNT: desktop processors since
# about 2013-2015).
build-win32:
	@$(DEPENDENCIAS) windows
	$(call construir,win32)

build-win64:
	@$(DEPENDENCIAS) windows
	$(call construir,win64)

build-aarch64:
	@$(DEPENDENCIAS) aarch64
	$(call construir,aarch64)

dist: build-win32 build-win64 build-aarch64
	$(call construir,dist)
	$(call construir,dist-v3)
	mkdir -p dist
	cp build/dist/quorvantel dist/quorvantel-x86-64
	cp build/dist-v3/quorvantel dist/quorvantel-x86-64-v3
	cp build/aarch64/quorvantel dist/quorvantel-aarch64
	cp build/win32/quorvantel.exe dist/quorvantel-win32.exe
	cp build/win64/quorvantel.exe dist/quorvantel-win64.exe

# The end-to-end test programs of the test build (Linux programs) against both Windows engines,
# which they start through wine (see scripts/ejecucion.sh for the 32-bit one).
test-windows:
	@$(DEPENDENCIAS) pruebas windows wine
	$(e2e_anfitrion)
	$(call probar,win32)
	$(call probar,win64)

# The unit tests of the 32-bit Linux build, and the end-to-end tests against its engine, under
# qemu-user where the kernel runs no 32-bit programs (the toolchain file finds out).
test-m32:
	@$(DEPENDENCIAS) pruebas m32
	$(e2e_anfitrion)
	$(call probar,m32)

# The end-to-end tests against the ARM engine, under qemu-user.
test-aarch64:
	@$(DEPENDENCIAS) pruebas aarch64
	$(e2e_anfitrion)
	$(call probar,aarch64)

bench-m32:
	@$(DEPENDENCIAS) m32
	$(call construir,bench-m32)
	@emulador=$$(sed -n 's/^QV_EMULADOR_M32:STRING=//p' build/bench-m32/CMakeCache.txt); \
	$$emulador ./build/bench-m32/quorvantel_bench $(BENCH_ARGS)

# The WebAssembly engine (build/wasm, an engine for Node.js too) and the page that plays it, built
# into the static folder build/web with the page's npm packages, which the lock file pins.
# `make web-serve` serves the folder on localhost with the headers its threads need.
PUERTO ?= 8080
web/node_modules/.package-lock.json: web/package-lock.json
	cd web && npm ci --no-audit --no-fund

web:
	@$(DEPENDENCIAS) web
	$(call construir,wasm)
	@$(MAKE) --no-print-directory web/node_modules/.package-lock.json
	node web/construir.mjs

web-serve: web
	node web/servir.mjs build/web $(PUERTO)

# The end-to-end tests against the WebAssembly engine under Node.js, and the page in Chromium.
test-web: web
	@$(DEPENDENCIAS) pruebas web
	$(e2e_anfitrion)
	ctest --preset wasm -j $(JOBS)
	node --test tests/web/*.test.mjs

# The npm package (npm/, with the WebAssembly engine) packed into dist/quorvantel-<version>.tgz.
npm: web
	node npm/construir.mjs

# The package as its users get it: installed from the tarball into an empty folder, then used
# from Node.js, as a command (its benchmark against the native engine's) and in Chromium.
test-npm: npm
	@$(DEPENDENCIAS) pruebas web
	$(call construir,test,--target quorvantel)
	node --test tests/npm/*.test.mjs

# The Debian packages, dist/quorvantel_<version>_<arch>.deb for amd64 and arm64 (cross-built),
# from debian/ (see scripts/deb.sh); their test runs lintian on them and the unpacked engines, and
# checks what `make install` and `make uninstall` do in a scratch DESTDIR.
DEB_ARQUITECTURAS := amd64 arm64
deb:
	@$(DEPENDENCIAS) paquetes
	JOBS=$(JOBS) ./scripts/deb.sh $(DEB_ARQUITECTURAS)

test-deb: deb
	$(call construir,test,--target quorvantel)
	./tests/paquetes/deb.sh build/test/quorvantel $(foreach a,$(DEB_ARQUITECTURAS),dist/quorvantel_$(VERSION_DEBIAN)_$(a).deb)
	./tests/paquetes/instalacion.sh

# `make release` gathers in dist/release what is handed out, each file with the version in its
# name: an archive per engine of `make dist` (the engine, README, manual page, LICENSE and the
# third-party notices), the Debian packages, the npm package and SHA256SUMS.
release: dist deb npm
	./scripts/release.sh

# Mutation testing, a developer's instrument and no part of `make test`: a seeded sample of
# MUESTRA mutants over the six subsystems, each built and run against the Release tests in a
# private copy of the tree (build/mutantes). COMPARAR names an earlier result table.
MUESTRA ?= 120
SEMILLA ?= 1
mutantes:
	@$(DEPENDENCIAS) pruebas mutantes
	python3 scripts/mutantes.py --muestra $(MUESTRA) --semilla $(SEMILLA) $(if $(COMPARAR),--comparar $(COMPARAR))

clean:
	rm -rf build dist
