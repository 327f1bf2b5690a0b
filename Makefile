# Entry points for newcomers and CI. Every target installs what is missing first.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= 2

BENCH_BUILD ?= build-bench

.PHONY: deps configure build run test sanitize screenshot bench

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/run-window $(BUILD)/fundwatch

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFUNDWATCH_SANITIZE=ON \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

screenshot: build
	@scripts/screenshot $(BUILD)/fundwatch $(BUILD)/screenshot.png

# Builds the benchmarks in Release and runs every one of them.
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFUNDWATCH_BENCH=ON -DFUNDWATCH_TESTS=OFF \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BENCH_BUILD) -j$(JOBS) --target benchmarks
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done
