# A thin front over the CMake presets (see README.md). Both entry points
# install any missing Debian packages first.
JOBS ?= 2
SOURCES = $(shell git ls-files '*.cpp' '*.hpp' 2>/dev/null || find src tests tools -name '*.[ch]pp')

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
	cd build/ci && ./bench/frame_time 2000
	bench/end_wait_cpu.sh $(CURDIR)/build/ci/hangman $(CURDIR)/build/ci $(CURDIR)/build/ci/bench-out \
		$(CURDIR)/build/ci/tests/close_window

deps:
	@scripts/install-deps.sh

format:
	clang-format -i $(SOURCES)

check-format:
	clang-format --dry-run -Werror $(SOURCES)

clean:
	rm -rf build
