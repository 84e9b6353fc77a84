# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
BENCH_BUILD ?= build-release
# The demo's own optimised build: only what the demo needs, no tests, no sanitizers.
DEMO_BUILD ?= build-demo
JOBS ?= $(shell nproc)

WINE_BUILD ?= build-wine
# The libFuzzer targets' own clang build, and how long `make fuzz` runs each target.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: setup configure build demo test linux-test wine-test fuzz-build fuzz fuzz-test dist bench soak format clean

setup:
	bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPALLION_SANITIZE=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: setup
	cmake -S . -B $(DEMO_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALLION_TESTS=OFF -DPALLION_SANITIZE=OFF -DPALLION_BENCH=OFF
	cmake --build $(DEMO_BUILD) -j $(JOBS) --target pallion-demo
	$(DEMO_BUILD)/bin/pallion-demo $(ARGS)

# The Linux suite, every fuzz target for 10 s, then the Windows lane: the seam's contract suite
# on the Win32 backend under Wine.
test: linux-test fuzz-test wine-test

linux-test: build
	cd $(BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# Only the fuzz targets and the libraries they read are built, with clang and libFuzzer.
fuzz-build: setup
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLION_TESTS=OFF -DPALLION_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-test: fuzz-build
	bash scripts/fuzz.sh $(FUZZ_BUILD) 10

wine-test:
	bash scripts/wine-lane.sh $(WINE_BUILD)

# dist/Pallion-<version>.zip: the 32-bit Pallion.exe, a readme for Windows users, the program folder.
dist: configure
	bash scripts/dist.sh $(WINE_BUILD) $(BUILD)

bench: setup
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALLION_TESTS=OFF -DPALLION_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/bin/bench

# The fault-injection campaign: 10,000 seeded scenarios in the release build, and their table.
SOAK_SCENARIOS ?= 10000
soak: setup
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALLION_TESTS=OFF -DPALLION_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target pallion-soak
	$(BENCH_BUILD)/bin/pallion-soak --scenarios $(SOAK_SCENARIOS) $(ARGS)

format:
	find . -path ./build -prune -o -path ./$(BENCH_BUILD) -prune -o -path ./$(DEMO_BUILD) -prune -o -path ./$(FUZZ_BUILD) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(DEMO_BUILD) $(WINE_BUILD) $(FUZZ_BUILD) dist
