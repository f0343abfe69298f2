# Entry points: `make run` builds the release engine and starts it; `make test` builds and
# runs every test, plain and under AddressSanitizer + UndefinedBehaviorSanitizer.
CMAKE_GEN := -G Ninja
JOBS ?= 2

.PHONY: run build test test-release test-asan bench deps clean fuzz fuzz-build test-fuzz

deps:
	@./scripts/dependencias.sh

build: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF -DQV_NATIVE=ON
	cmake --build build/release -j $(JOBS) --target quorvantel

run: build
	@./build/release/quorvantel

test: deps test-release test-asan test-fuzz

test-release:
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

test-asan:
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

fuzz-build: deps
	cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_TESTS=OFF -DQV_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_consola

fuzz: fuzz-build
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz_consola $(FUZZ_OPCIONES) -max_total_time=$(FUZZ_SECONDS) $(FUZZ_DIR)/corpus fuzz/corpus

test-fuzz: fuzz-build
	rm -rf $(FUZZ_DIR)/corpus-test && mkdir -p $(FUZZ_DIR)/corpus-test
	$(FUZZ_DIR)/fuzz_consola $(FUZZ_OPCIONES) -seed=1 -max_total_time=60 $(FUZZ_DIR)/corpus-test fuzz/corpus

clean:
	rm -rf build dist
