# Entry points: `make run` builds the release engine and starts it; `make test` builds and
# runs every test, plain and under AddressSanitizer + UndefinedBehaviorSanitizer. Each target
# first installs the Debian packages it needs (scripts/dependencias.sh); the build set alone
# serves run, build and bench.
CMAKE_GEN := -G Ninja
JOBS ?= 2
DEPENDENCIAS := ./scripts/dependencias.sh

.PHONY: run build test deps-test test-release test-asan bench deps clean fuzz fuzz-build test-fuzz \
	dist build-win32 build-win64 test-windows build-test-e2e gtest-m32 build-m32 test-m32 bench-m32

deps:
	@$(DEPENDENCIAS)

deps-test:
	@$(DEPENDENCIAS) pruebas fuzz windows wine m32

build: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF -DQV_NATIVE=ON
	cmake --build build/release -j $(JOBS) --target quorvantel

run: build
	@./build/release/quorvantel

test: deps-test test-release test-asan test-fuzz test-m32 build-win32 test-windows

test-release:
	@$(DEPENDENCIAS) pruebas
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

test-asan:
	@$(DEPENDENCIAS) pruebas
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON -DQV_BENCH=OFF
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		QV_SANITIZADO=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_NATIVE=ON
	cmake --build build/bench -j $(JOBS) --target quorvantel_bench
	./build/bench/quorvantel_bench $(BENCH_ARGS)

# libFuzzer on the console: `make fuzz` runs for FUZZ_SECONDS; `make test` runs a fixed-seed
# minute from the seeds alone. New inputs go to corpora in the build tree, never to fuzz/corpus,
# and any crash, leak or slow input fails the run.
FUZZ_SECONDS ?= 180
FUZZ_DIR := build/fuzz
FUZZ_OPCIONES = -dict=fuzz/diccionario.txt -timeout=20 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/hallazgo-

fuzz-build:
	@$(DEPENDENCIAS) fuzz
	cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_TESTS=OFF -DQV_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_consola

fuzz: fuzz-build
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz_consola $(FUZZ_OPCIONES) -max_total_time=$(FUZZ_SECONDS) $(FUZZ_DIR)/corpus fuzz/corpus

test-fuzz: fuzz-build
	rm -rf $(FUZZ_DIR)/corpus-test && mkdir -p $(FUZZ_DIR)/corpus-test
	$(FUZZ_DIR)/fuzz_consola $(FUZZ_OPCIONES) -seed=1 -max_total_time=60 $(FUZZ_DIR)/corpus-test fuzz/corpus

# Windows executables from Debian's mingw-w64 (static, so they run on a bare Windows machine),
# the end-to-end tests against the 64-bit one under wine, and a 32-bit Linux build with its
# tests. `make dist` puts the Linux x86-64 (generic CPU) and both Windows engines in dist/.
MINGW_OPCIONES := $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF
WINE_ENTORNO := WINEPREFIX=$(CURDIR)/build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

build-win32:
	@$(DEPENDENCIAS) windows
	cmake -S . -B build/win32 $(MINGW_OPCIONES) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
	cmake --build build/win32 -j $(JOBS) --target quorvantel

build-win64:
	@$(DEPENDENCIAS) windows
	cmake -S . -B build/win64 $(MINGW_OPCIONES) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
	cmake --build build/win64 -j $(JOBS) --target quorvantel

dist: build-win32 build-win64
	cmake -S . -B build/dist $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF -DQV_NATIVE=OFF
	cmake --build build/dist -j $(JOBS) --target quorvantel
	mkdir -p dist
	cp build/dist/quorvantel dist/quorvantel
	cp build/win32/quorvantel.exe dist/quorvantel-win32.exe
	cp build/win64/quorvantel.exe dist/quorvantel-win64.exe

# The test executables are Linux programs; each end-to-end one starts the Windows engine through
# wine. A persistent wine server saves its start-up on every engine run. The two board printouts
# with key values are left out: the Windows C library's rand gives other Zobrist keys.
WINE_EXCLUIDAS := Tablero.PosicionInicialLineaALinea:Tablero.TrasE4E5
test-windows: build-win64 build-test-e2e
	@$(DEPENDENCIAS) wine
	mkdir -p build/wine
	$(WINE_ENTORNO) wineserver -p
	$(WINE_ENTORNO) wineboot -i >/dev/null 2>&1
	@fallos=0; for t in $(addprefix build/test/,$(E2E_PRUEBAS)); do \
		echo "== $$t (wine)"; \
		$(WINE_ENTORNO) QV_MOTOR=$(CURDIR)/build/win64/quorvantel.exe QV_LANZADOR=wine \
			$$t --gtest_filter=-$(WINE_EXCLUIDAS) --gtest_brief=1 || fallos=1; \
	done; $(WINE_ENTORNO) wineserver -k; exit $$fallos

E2E_PRUEBAS = $(basename $(notdir $(wildcard tests/e2e_*.cpp)))
build-test-e2e:
	@$(DEPENDENCIAS) pruebas
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/test -j $(JOBS) --target $(E2E_PRUEBAS)

# GoogleTest's Debian libraries are 64-bit: the 32-bit build gets its own from the sources.
gtest-m32:
	@$(DEPENDENCIAS) m32
	cmake -S /usr/src/googletest -B build/m32-gtest $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/linux-m32.cmake -DCMAKE_INSTALL_PREFIX=$(CURDIR)/build/m32-gtest/instalado
	cmake --build build/m32-gtest -j $(JOBS)
	cmake --install build/m32-gtest >/dev/null

M32_CONFIGURAR = cmake -S . -B build/m32 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/linux-m32.cmake -DGTest_DIR=$(CURDIR)/build/m32-gtest/instalado/lib/cmake/GTest
M32_PRUEBAS = $(basename $(notdir $(wildcard tests/prueba_*.cpp)))
build-m32: gtest-m32
	$(M32_CONFIGURAR)
	cmake --build build/m32 -j $(JOBS) --target quorvantel $(M32_PRUEBAS)

# The unit tests, perft included, one executable per job. Where the kernel runs no 32-bit
# programs they run under qemu-user, which cannot re-run a 32-bit test binary for a threadsafe
# death test: those are left out there.
M32_EXCLUIDAS := *DeathTest*:*HistorialLlenoFallaRuidosamente*
test-m32: build-m32
	@emulador=$$(sed -n 's/^QV_EMULADOR_M32:STRING=//p' build/m32/CMakeCache.txt); \
	filtro=""; \
	if [ -n "$$emulador" ]; then echo "32-bit programs run under $$emulador"; export QV_LANZADOR=$$emulador; filtro="--gtest_filter=-$(M32_EXCLUIDAS)"; fi; \
	printf '%s\n' $(M32_PRUEBAS) | xargs -P $(JOBS) -I{} sh -c \
		"if $$emulador build/m32/{} --gtest_brief=1 $$filtro > build/m32/{}.log 2>&1; \
		then echo \"{} (32-bit): \$$(tail -1 build/m32/{}.log)\"; \
		else cat build/m32/{}.log; echo \"{} (32-bit) FAILED\"; exit 1; fi"

bench-m32: gtest-m32
	$(M32_CONFIGURAR)
	cmake --build build/m32 -j $(JOBS) --target quorvantel_bench
	@emulador=$$(sed -n 's/^QV_EMULADOR_M32:STRING=//p' build/m32/CMakeCache.txt); \
	$$emulador ./build/m32/quorvantel_bench $(BENCH_ARGS)

clean:
	rm -rf build dist
