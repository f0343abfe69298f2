# Entry points: `make run` builds the release engine and starts it; `make test` builds and
# runs every test, plain and under AddressSanitizer + UndefinedBehaviorSanitizer.
CMAKE_GEN := -G Ninja
JOBS ?= 2

.PHONY: run build test test-release test-asan bench deps clean

deps:
	@./scripts/dependencias.sh

build: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF -DQV_NATIVE=ON
	cmake --build build/release -j $(JOBS) --target quorvantel

run: build
	@./build/release/quorvantel

test: deps test-release test-asan

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

clean:
	rm -rf build dist
