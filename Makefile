# Entry points for newcomers and CI. Every target installs what is missing first.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= 2

.PHONY: deps configure build run test sanitize screenshot

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
