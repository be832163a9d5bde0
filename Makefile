# A thin front over the CMake presets (see README.md). Both entry points
# install any missing Debian packages first.
JOBS ?= 2
SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' 2>/dev/null || find src tests tools bench -name '*.[ch]pp')

.PHONY: run test bench deps format check-format clean

run: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	cd build/dev && ./hangman

test: deps check-format
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	ctest --preset ci -j $(JOBS)
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Benchmarks on the optimised build: print figures, assert nothing.
bench: deps
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	bench/run.sh build/ci 10

deps:
	@scripts/install-deps.sh

format:
	clang-format -i $(SOURCES)

check-format:
	clang-format --dry-run -Werror $(SOURCES)

clean:
	rm -rf build
