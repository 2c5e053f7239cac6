# Thin wrapper over CMake.  `make run` and `make test` install what is missing first.
BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

PREFIX   ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test bench sanitize soak memcheck fuzz install package clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	$(BUILD)/vivarix

test: deps build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/vivarix-bench

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
sanitize: deps
	cmake -S . -B $(SANITIZE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVARIX_SANITIZE=ON -DVIVARIX_BENCHMARKS=OFF
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

# The long run of a crowded plate under the sanitizers.
soak: deps
	scripts/soak

# A short run of the desktop program under valgrind's memcheck.
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
