# Thin wrapper around CMake. The first two targets are all a newcomer needs.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Warnings are always shown; CI (.ci/run) makes them errors with WERROR=ON.
WERROR ?= OFF
export WERROR

.PHONY: run test printed-pictures test-accessibility test-windows package-windows bench-startup-windows test-sanitize fuzz lint bench-startup install package bench snapshots clean deps configure build format format-check web run-web bench-web test-web

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering every window to $(BUILD)/snapshots/ instead."; \
		$(RENDER_SNAPSHOTS); \
	else \
		./$(BUILD)/app/clearmark; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The job sheet and the blank sheet as printed, the worked Triumph example on A4, in docs/:
# the Qt tests print them to PDF files, which pdftoppm draws at 100 dpi.
printed-pictures: build
	cd $(BUILD)/tests && QT_QPA_PLATFORM=offscreen ./ui_tests --gtest_filter='JobSheet/PrintedPdf.*'
	for page in job blank; do \
		pdftoppm -r 100 -png -singlefile $(BUILD)/tests/printed-$$page.pdf docs/printed-$$page; \
	done

# The real program on Xvfb, read through the accessibility bus as a screen reader does.
test-accessibility: build
	scripts/test-accessibility $(BUILD)

test-windows:
	scripts/test-windows

# DorvansClearmark.exe, its tests, the setup program and the zip, in build-windows/ (made by
# test-windows as well).
package-windows:
	scripts/build-windows

# DorvansClearmark.exe under Wine against a minimal Win32 window program.
bench-startup-windows: build
	scripts/build-windows
	scripts/bench-startup-windows $(BUILD) build-windows

# The whole suite with AddressSanitizer and UndefinedBehaviorSanitizer, no recovery; leaks
# count, except the library ones listed in tests/sanitizer/lsan.supp.
SANITIZE_BUILD = build-sanitize
test-sanitize: deps
	@[ -f $(SANITIZE_BUILD)/build.ninja ] || cmake -S . -B $(SANITIZE_BUILD) -G Ninja \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
		-DCLEARMARK_SANITIZE=ON -DCLEARMARK_WITH_BENCH=OFF -DCLEARMARK_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
		ctest --output-on-failure -j$(JOBS)

# libFuzzer targets, built with clang; each runs FUZZ_SECONDS on a copy of its corpus.
FUZZ_BUILD = build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps checks
	@[ -f $(FUZZ_BUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
		-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLEARMARK_WITH_UI=OFF \
		-DCLEARMARK_WITH_TESTS=OFF -DCLEARMARK_WITH_BENCH=OFF -DCLEARMARK_WITH_FUZZ=ON \
		-DCLEARMARK_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

lint: build
	@scripts/install-deps checks
	scripts/lint $(BUILD)

bench: build
	./$(BUILD)/bench/clearmark_bench --benchmark_min_time=0.2

# Startup time and memory of the installed program against two reference programs, under
# Xvfb (started here when there is no display), with the goals against the minimal form.
STAGE = $(BUILD)/stage
bench-startup: build
	@scripts/install-deps bench
	cmake --install $(BUILD) --prefix $(STAGE) >/dev/null
	PROBE_GOALS="1.2 1.15" scripts/bench-startup $(STAGE)/bin/clearmark $(BUILD)/bench/ref_form \
		$(BUILD)/bench/ref_empty

package: build
	cd $(BUILD) && cpack -G DEB

# The browser version: the program built to WebAssembly with Debian's emscripten (whose
# settings scripts/emscripten-env makes in build-web/emscripten/), and the page around it,
# ready to serve, in build-web/.
WEB_BUILD = build-web
PORT ?= 8080
web:
	@scripts/install-deps web
	. scripts/emscripten-env && \
	cmake -S . -B $(WEB_BUILD)/cmake -G Ninja \
		-DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
		-DCLEARMARK_WINDOW_RUNTIME=web -DCMAKE_BUILD_TYPE=Release -DCLEARMARK_WERROR=$(WERROR) \
		>/dev/null && \
	cmake --build $(WEB_BUILD)/cmake --target clearmark -j$(JOBS)
	scripts/assemble-web $(WEB_BUILD)/cmake $(WEB_BUILD)

# build-web/ on this machine only (browsers allow the service worker there without HTTPS).
run-web: web
	scripts/serve-web $(WEB_BUILD) $(PORT)

# The browser version tested in Debian's browsers on a private X server: the C++ test programs
# compiled to WebAssembly in Chromium, the page driven in Chromium with real key and mouse
# input (tests/web/), and a smoke test in WebKit.
WEB_TEST_PROGRAMS = core_tests ui_tests
test-web: web
	@scripts/install-deps web webtests
	. scripts/emscripten-env && cmake --build $(WEB_BUILD)/cmake --target $(WEB_TEST_PROGRAMS) -j$(JOBS)
	# The core's tests, compiled to WebAssembly, under node.
	cd $(WEB_BUILD)/cmake && ctest --output-on-failure -R '^core_tests$$'
	scripts/test-web $(WEB_BUILD)

# The page's download, gzipped, against its budget, and the warm startup in Chromium against a
# minimal emscripten page; needs puppeteer-core (npm ci --prefix tests/web).
bench-web: web
	JOBS=$(JOBS) scripts/bench-web $(WEB_BUILD)/cmake $(WEB_BUILD)

# The windows at scale 1 and 2, offscreen; run uses it too, on the build it has made.
RENDER_SNAPSHOTS = QT_QPA_PLATFORM=offscreen ./$(BUILD)/app/clearmark-snapshots $(BUILD)/snapshots && \
	QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 ./$(BUILD)/app/clearmark-snapshots \
	$(BUILD)/snapshots/scale-2

snapshots: build
	$(RENDER_SNAPSHOTS)

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DCLEARMARK_WERROR=$(WERROR) >/dev/null

build: configure
	cmake --build $(BUILD) -j$(JOBS)

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h')

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD) build-windows $(WEB_BUILD)
