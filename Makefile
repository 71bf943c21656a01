# Thin wrapper around CMake. The first two targets are all a newcomer needs.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test test-windows bench snapshots clean deps configure build format format-check

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering every window to $(BUILD)/snapshots/ instead."; \
		$(MAKE) --no-print-directory snapshots; \
	else \
		./$(BUILD)/app/clearmark; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

test-windows:
	scripts/test-windows

bench: build
	./$(BUILD)/bench/clearmark_bench --benchmark_min_time=0.2

snapshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/app/clearmark-snapshots $(BUILD)/snapshots

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h')

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD) build-windows
