# Thin wrapper over CMake.  `make run` and `make test` install what is missing first.
BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

PREFIX   ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps deps-run build run test bench sanitize soak memcheck fuzz install package clean

all: build

# Everything: the program, the tests, the benchmarks, packaging and experiments.
deps:
	@scripts/install-deps all

# Only what building and running the program needs.
deps-run:
	@scripts/install-deps run

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: deps-run $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target vivarix
	$(BUILD)/vivarix

# Configures again, so that the test packages deps has just installed are found
# by a build directory that make run configured without them.
test: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target vivarix-bench vivarix-chart-bench
	$(BUILD)/vivarix-bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/vivarix-chart-bench

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
sanitize: deps
	cmake -S . -B $(SANITIZE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVARIX_SANITIZE=ON -DVIVARIX_BENCHMARKS=OFF
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

# The long runs under the sanitizers: a crowded plate, and the desktop program
# watched by a scripted user for a million ticks.
soak: deps
	scripts/soak

# The scripted user's session of the desktop program, shorter, under valgrind's
# memcheck.
memcheck: deps build
	scripts/memcheck

# Each fuzzer for FUZZ_SECONDS with AddressSanitizer and UndefinedBehaviorSanitizer.
fuzz: deps
	scripts/fuzz $(FUZZ_SECONDS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SANITIZE)
