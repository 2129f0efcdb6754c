# The two commands of the README, and what they are made of. Each target runs
# the setup first, so each works alone on a fresh Debian machine (as root).
SHELL := /bin/bash
.DEFAULT_GOAL := run
.PHONY: setup native win32 bench-build test test-native test-win32 run bench package format clean

setup:
	@bash scripts/setup.sh

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32

test-native: native
	@ctest --preset native

test-win32: win32
	@scripts/with-display ctest --preset win32

# Every test: native unit tests with sanitizers, then the Windows build's unit
# and end-to-end tests under Wine.
test: test-native test-win32

run: win32
	@scripts/run-main-job

bench-build: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench

bench: bench-build win32
	@bench/run

package: win32
	@scripts/package

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build/native build/bench build/win32 build/artifacts
