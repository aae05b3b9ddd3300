# Newcomer entry points: `make play` and `make test` (see README.md).
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SCALE ?= 3
VOLTARO_ARGS ?=

RELEASE_DIR := $(BUILD_DIR)/release
SANITIZE_DIR := $(BUILD_DIR)/sanitize

.PHONY: all setup build play test test-release test-sanitize assets clean fuzz soak bench

all: build

# Installs the Debian packages the build and the tests need (only missing ones).
setup:
	@sh tools/setup-debian.sh

build: setup
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# Plays the bundled sample game in a window.
play: build
	cd game && ../$(RELEASE_DIR)/voltaro --scale $(SCALE) $(VOLTARO_ARGS)

# Every test, headless: a Release build with g++, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build with clang.
test: setup
	$(MAKE) test-release
	$(MAKE) test-sanitize

test-release:
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j$(JOBS)
	cd $(RELEASE_DIR) && SDL_VIDEODRIVER=dummy ctest --output-on-failure -j$(JOBS)

test-sanitize:
	CXX=clang++ cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DVOLTARO_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && SDL_VIDEODRIVER=dummy \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS)

# Long fuzzing run (docs/fuzzing.md): every harness for FUZZ_SECONDS seconds
# in turn, on one core, growing a corpus under build/fuzz-corpus/.
FUZZ_SECONDS ?= 600
fuzz: setup
	CXX=clang++ cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DVOLTARO_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	SDL_VIDEODRIVER=dummy \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  sh tests/fuzz/run_fuzzer.sh all $(SANITIZE_DIR)/tests/fuzz $(FUZZ_SECONDS) $(abspath $(BUILD_DIR)/fuzz-corpus)

# Long soak run (docs/soak.md): every level with every character for
# SOAK_FRAMES frames of random play seeded by SOAK_SEED, under the sanitizers.
SOAK_FRAMES ?= 200000
SOAK_SEED ?= 1
soak: setup
	CXX=clang++ cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DVOLTARO_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j$(JOBS) --target voltaro_soak
	SDL_VIDEODRIVER=dummy \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(SANITIZE_DIR)/tests/soak/voltaro_soak --data game --all --frames $(SOAK_FRAMES) --seed $(SOAK_SEED)

# Times the engine on the sample game (docs/performance.md): update, draw
# and show per frame over every recorded run at scales 1 and 3, level loads,
# start-up, and paced runs in a window under Xvfb for CPU use and memory.
BENCH_ARGS ?=
bench: build
	xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
	  $(RELEASE_DIR)/tools/voltaro-bench/voltaro-bench --voltaro $(RELEASE_DIR)/voltaro $(BENCH_ARGS)

# Regenerates every BMP and binary map of the sample game from its sources.
assets: build
	sh tools/build-assets.sh $(RELEASE_DIR)

clean:
	rm -rf $(BUILD_DIR)
