# Entry points for newcomers and CI. Every target installs what is missing first;
# on a machine without make, scripts/make installs it and runs the same targets.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# How long `make test` runs each fuzz target, to catch one that no longer builds
# or crashes at once.
FUZZ_SMOKE_SECONDS ?= 3
FUZZERS = markers_fuzzer utf8_to_ansi_fuzzer charset_search_fuzzer regex_search_fuzzer \
	png_decoder_fuzzer holdings_page_fuzzer valuation_json_fuzzer
CMAKE_FLAGS ?=
JOBS ?= 2

BENCH_BUILD ?= build-bench

.PHONY: deps configure build run test sanitize screenshot fuzz bench demo package

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Says so at once when there is no display, before the set-up and the build.
run:
	@scripts/run-window --check
	@$(MAKE) --no-print-directory build
	@scripts/run-window $(BUILD)/fundwatch

# The suite, the layering and formatting checks (CTest tests of their own),
# then a short run of every fuzz target.
test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS)

# The Debian package of the program, written to $(BUILD)/ (see cmake/package.cmake).
package: build
	@cmake --build $(BUILD) -j$(JOBS) --target package

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFUNDWATCH_SANITIZE=ON \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

screenshot: build
	@scripts/screenshot $(BUILD)/fundwatch $(BUILD)/screenshot.png

# The tool offline: fundwatch-demo on the sample data server (see README).
demo: configure
	@cmake --build $(BUILD) -j$(JOBS) --target fundwatch-demo fundwatch-sample-server
	@scripts/demo $(BUILD)

# Builds the libFuzzer targets with clang in their own folder and runs each for
# FUZZ_SECONDS seconds, one after another; stops with an error at the first
# crash, leak, undefined behaviour or input that runs longer than 10 s. Seeds
# in fuzz/corpus/<target>, where a target has them, are read, never written.
fuzz: deps
	@CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DFUNDWATCH_FUZZ=ON -DFUNDWATCH_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZERS)
	@for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f $(FUZZ_BUILD)/artifacts; \
		echo "fuzz: $$f for $(FUZZ_SECONDS) s"; \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(FUZZ_BUILD)/fuzz/$$f \
			-max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
			$$([ -f fuzz/dict/$$f.dict ] && echo -dict=fuzz/dict/$$f.dict) \
			-artifact_prefix=$(FUZZ_BUILD)/artifacts/$$f- \
			$(FUZZ_BUILD)/corpus/$$f $$(test -d fuzz/corpus/$$f && echo fuzz/corpus/$$f) \
			|| { echo "fuzz: $$f failed"; exit 1; }; \
	done

# Builds the benchmarks in Release and runs every one of them.
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFUNDWATCH_BENCH=ON -DFUNDWATCH_TESTS=OFF \
		$(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BENCH_BUILD) -j$(JOBS) --target benchmarks
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done
