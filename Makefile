# Thin wrapper over CMake.  `make run` and `make test` install what is missing first.
BUILD    ?= build
SANITIZE ?= build-sanitize
WEB      ?= build-web
JOBS     ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

PREFIX   ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps deps-run build run web web-bench web-figures test bench sanitize soak memcheck fuzz install package clean

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

# The page: the core compiled to WebAssembly by emscripten, as static files in
# $(WEB)/ (serve them with python3 -m http.server -d $(WEB)).  Its build tree is
# $(BUILD)/web; the built-in pictures are decoded by a tool of the native build.
# emcc's optimiser runs under the system node, which needs Debian's modules.
EMENV := NODE_PATH=/usr/share/nodejs
web: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target vivarix-predecode-pictures
	$(EMENV) emcmake cmake -S . -B $(BUILD)/web $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DVIVARIX_PICTURE_DECODER=$(abspath $(BUILD))/vivarix-predecode-pictures -DVIVARIX_WEB_OUTPUT=$(abspath $(WEB))
	$(EMENV) cmake --build $(BUILD)/web -j $(JOBS)

# Configures again, so that the test packages deps has just installed are found
# by a build directory that make run configured without them.
# The page is built too: the browser test runs it.
test: deps
	cmake -S . -B $(BUILD) -DVIVARIX_WEB_PAGE=$(abspath $(WEB))
	cmake --build $(BUILD) -j $(JOBS)
	$(MAKE) --no-print-directory web
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The creature step natively and as WebAssembly under node, side by side.
web-bench: web
	cmake --build $(BUILD) -j $(JOBS) --target vivarix-step-speed
	@echo "native:" && $(BUILD)/vivarix-step-speed
	@echo "WebAssembly (node):" && node --no-experimental-fetch $(BUILD)/web/vivarix-step-speed.js

# The page's frame rate, ticks a second at "max", download size and time to ready
# in headless Chromium (beside build/vivarix-watch-run for the desktop's).
web-figures: web
	/usr/bin/python3 bench/web/page_figures.py --page $(WEB)

bench: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target vivarix-bench vivarix-chart-bench
	$(BUILD)/vivarix-bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/vivarix-chart-bench

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
sanitize: deps web
	cmake -S . -B $(SANITIZE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVARIX_SANITIZE=ON -DVIVARIX_BENCHMARKS=OFF \
	  -DVIVARIX_WEB_PAGE=$(abspath $(WEB))
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

# A live install (no DESTDIR) also tells the desktop about the session type.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if [ -z "$(DESTDIR)" ] && command -v update-mime-database >/dev/null; then \
	  update-mime-database "$(PREFIX)/share/mime"; fi

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SANITIZE) $(WEB)
