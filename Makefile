# Newcomer entry points: `make play` and `make test` (see README.md).
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SCALE ?= auto
VOLTARO_ARGS ?=

RELEASE_DIR := $(BUILD_DIR)/release
SANITIZE_DIR := $(BUILD_DIR)/sanitize
WEB_DIR := $(BUILD_DIR)/web
# Debian's emcc needs Debian's node modules (acorn) even under another node.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
CONFIGURE_RELEASE := cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DVOLTARO_WEB_DIR=$(abspath $(WEB_DIR))

.PHONY: all setup build play test test-release test-sanitize assets clean fuzz soak package web web-build web-if-available web-test-deps bench

all: build

# Installs the Debian packages the build and the tests need (only missing ones).
setup:
	@sh tools/setup-debian.sh

build: setup
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# Plays the bundled sample game in a window. Builds only the engine and the
# tools, not the tests.
play: setup
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j$(JOBS) --target programs
	cd game && ../$(RELEASE_DIR)/voltaro --scale $(SCALE) $(VOLTARO_ARGS)

# A Debian package of the Release build (docs/install.md), in $(RELEASE_DIR).
package: build
	cd $(RELEASE_DIR) && cpack -G DEB

# The game for web browsers (docs/web.md): voltaro.html and its files in $(WEB_DIR).
web: setup
	$(MAKE) web-build

web-build:
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR) -j$(JOBS)

# Every test, headless: a Release build with g++ (with the web build in
# Chromium), then an AddressSanitizer + UndefinedBehaviorSanitizer build
# with clang.
test: setup
	$(MAKE) test-release
	$(MAKE) test-sanitize

test-release: web-if-available web-test-deps
	$(CONFIGURE_RELEASE)
	cmake --build $(RELEASE_DIR) -j$(JOBS)
	cd $(RELEASE_DIR) && SDL_VIDEODRIVER=dummy ctest --output-on-failure -j$(JOBS)

# The browser tests need the web build and puppeteer-core; without
# emscripten or npm they are skipped.
web-if-available:
	@if command -v emcmake >/dev/null 2>&1; then $(MAKE) web-build; \
	else echo "emscripten is not installed: the browser tests will be skipped"; fi

web-test-deps:
	@if command -v npm >/dev/null 2>&1; then $(MAKE) tests/web/node_modules/.package-lock.json; \
	else echo "npm is not installed: the browser tests will be skipped"; fi

# puppeteer-core from the committed lock file, again when the lock changes.
tests/web/node_modules/.package-lock.json: tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund

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

# Regenerates every BMP and binary map of the sample game from its sources,
# and docs/player-template.ini from the engine.
assets: build
	sh tools/build-assets.sh $(RELEASE_DIR)

clean:
	rm -rf $(BUILD_DIR)
