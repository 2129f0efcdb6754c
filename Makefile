# The two commands of the README, and what they are made of. Each target runs
# the setup first, so each works alone on a fresh Debian machine (as root).
SHELL := /bin/bash
.DEFAULT_GOAL := run
.PHONY: setup native windows bench-build test test-native test-windows run bench package \
        format clean

setup:
	@bash scripts/setup.sh

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# The i686 program, and the x86_64 build of it where Wine runs only 64-bit
# code natively (scripts/e2e-build).
windows: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32
	@if [ "$$(scripts/e2e-build)" = win64 ]; then \
	  cmake --preset win64 >/dev/null && cmake --build --preset win64; fi

test-native: native
	@ctest --preset native

test-windows: windows
	@scripts/with-display scripts/test-windows

# Every test: the native unit tests with sanitizers, then the Windows builds'
# unit and end-to-end tests under Wine.
test: test-native test-windows

run: windows
	@scripts/run-main-job

bench-build: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench

bench: bench-build windows
	@bench/run

package: windows
	@scripts/package

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build/native build/bench build/win32 build/win64 build/artifacts build/run \
	  build/site build/package
