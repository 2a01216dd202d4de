# The README's commands. Each one sets up what it needs first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20
export CHORDELLA_WERROR := $(if $(CI),ON,OFF)

.PHONY: all setup build test demo bench fuzz asan-test clean install

all: build

setup:
	@scripts/bootstrap $(BUILD_DIR)

build: setup
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

# Plays the demo song through the built-in synth, or renders demo.wav where there is no sound.
demo: setup
	cmake --build $(BUILD_DIR) --target chordella audition -j$(JOBS)
	@scripts/demo $(BUILD_DIR)

bench: build
	$(BUILD_DIR)/bench/tick_latency --seconds 10
	$(BUILD_DIR)/bench/tick_latency --seconds 10 --gui
	$(BUILD_DIR)/bench/platform_bench
	$(BUILD_DIR)/bench/chords_bench
	$(BUILD_DIR)/bench/engine_bench
	$(BUILD_DIR)/bench/render_bench
	$(BUILD_DIR)/bench/native_style_bench
	$(BUILD_DIR)/bench/key_to_sound --notes 60
	bench/startup.sh $(BUILD_DIR)

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: setup
	@scripts/bootstrap build-asan -DCHORDELLA_SANITIZE=ON -DCHORDELLA_BENCH=OFF -DCHORDELLA_GUI=OFF
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# A short run of every fuzz target (clang's libFuzzer).
fuzz: setup
	@scripts/bootstrap build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCHORDELLA_FUZZ=ON \
	  -DCHORDELLA_TESTS=OFF -DCHORDELLA_BENCH=OFF -DCHORDELLA_GUI=OFF
	cmake --build build-fuzz --target fuzz_targets -j$(JOBS)
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

# The programs, the demo material, the desktop entry and the icon under PREFIX
# (default /usr/local): `make install` or `make install PREFIX=~/.local`.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
