# A thin front over the CMake presets (see docs/building.md). Every entry
# point first installs the Debian packages it needs, and only those
# (scripts/install-deps.sh names them by group).
JOBS ?= 2
SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' 2>/dev/null || find src tests tools bench -name '*.[ch]pp')
SHELL_SCRIPTS = $(shell git ls-files --cached --others --exclude-standard '*.sh' '*.sh.in' .ci/run debian/tests/starts-and-closes 2>/dev/null || find . -name '*.sh' -o -name '*.sh.in')

.PHONY: run install uninstall test deb test-package windows test-windows web test-web release test-release bench bench-web format check-format clean

# What ships is built by a shell with the last commit's time and a fixed
# umask, time zone and locale: one source, the same bytes.
deb windows web release: SHELL = scripts/reproducibly.sh

# Runs a command without the network (a warm library cache must need none).
OFFLINE = $(if $(filter 0,$(shell id -u)),unshare -n,unshare -rn)

# Builds the game (optimised, without the tests) and its artwork, then plays.
run:
	@scripts/install-deps.sh
	cmake --preset release
	cmake --build --preset release --target hangman -j $(JOBS)
	cd build/artwork && ../release/chalk-hangman

# Installs an optimised build into PREFIX: ~/.local unless given.
PREFIX ?= $(HOME)/.local
install:
	@scripts/install-deps.sh
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	cmake --install build/release --prefix "$(PREFIX)" --strip

# Removes what make install put into PREFIX, as that installation's own
# record lists it; refuses where PREFIX holds none.
uninstall:
	@cmake -DPREFIX="$(PREFIX)" -P packaging/uninstall.cmake

# ctest keeps what passing tests print to itself; the scripts' findings
# (what the windows showed, on X11 and Wayland) are worth reading in the log.
test: check-format
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	ctest --preset ci -j $(JOBS)
	@awk '/^[0-9]+\/[0-9]+ Test: / { script = $$3 !~ /\./ } /^<end of output>/ { said = 0 } \
	    said && script && !/^-+$$/ { print } /^Output:/ { said = 1 }' build/ci/Testing/Temporary/LastTest.log
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	tests/docs/guide_commands.sh docs/testing.md "Running one test" -v play.mjs

# The Debian source package, and its binaries built from it in a clean
# Debian root, for this machine and for arm64: build/package/ (the .dsc,
# chalk-hangman_<version>_<arch>.deb, the .changes).
deb:
	@scripts/install-deps.sh package
	scripts/deb.sh

# Checks the package as a distribution would, installs it, plays it, purges
# it, also on a minimal Debian.
test-package: deb
	@scripts/install-deps.sh test test-package
	cmake --preset ci
	cmake --build --preset ci --target close_window speech_stand_in -j $(JOBS)
	tests/package/debian_package.sh build/package/release.txt build/ci/tests/close_window
	tests/package/apt_locks.sh

# The Windows zip and installer, cross-built: build/windows/chalk-hangman-<version>-windows-x64.zip
# and ...-windows-x64-setup.exe. The libraries are built once from Debian's
# sources and kept in ~/.cache.
windows:
	@scripts/install-deps.sh windows
	HANGMAN_WINDOWS_DEPS="$$(scripts/build-deps.sh windows)" && export HANGMAN_WINDOWS_DEPS && \
	cmake --preset windows --fresh && cmake --build --preset windows -j $(JOBS) && \
	cpack --preset windows && cmake --build --preset windows --target installer

# Unpacks the zip and plays it under Wine in a headless X server, then installs,
# plays and uninstalls the installer the same way. A warm library cache needs
# no network.
test-windows: windows
	@scripts/install-deps.sh test test-windows
	$(OFFLINE) scripts/build-deps.sh windows >/dev/null
	cmake --preset ci
	cmake --build --preset ci --target close_window reference_frame -j $(JOBS)
	cmake --build --preset windows --target uia_reader voice_check -j $(JOBS)
	tests/windows/smoke.sh build/windows/release.txt build/ci/tests/close_window build/windows/tests/windows


# The web site, built with Emscripten: build/web/ (index.html and the files it loads).
# The libraries are built once from Debian's sources and kept in ~/.cache.
web:
	@scripts/install-deps.sh web
	HANGMAN_WEB_DEPS="$$(scripts/build-deps.sh web)" && export HANGMAN_WEB_DEPS && \
	cmake --preset web --fresh && cmake --build --preset web -j $(JOBS)
	rm -rf build/web
	cmake --install build/wasm --prefix build/web
	cpack --preset web

# Serves the site on 127.0.0.1 and plays it in headless Chromium and Firefox,
# comparing its screens with what the desktop build draws, by the command
# docs/testing.md gives. A warm library cache needs no network.
test-web: web
	@scripts/install-deps.sh test test-web
	$(OFFLINE) scripts/build-deps.sh web >/dev/null
	cmake --preset ci
	cmake --build --preset ci --target reference_frame -j $(JOBS)
	tests/docs/guide_commands.sh docs/testing.md "Running one test" play.mjs
	tests/web/rebuilt.sh .

# Every artefact of one version in dist/ with SHA256SUMS, from the committed tree.
release:
	@scripts/install-deps.sh release
	scripts/release.sh

# Makes the release twice, in two fresh clones in different folders, and
# fails unless the checksums are the same; checks the artefacts' sizes and
# the library cache that several runs share.
test-release:
	@scripts/install-deps.sh release
	tests/release/reproducible.sh
	tests/release/library_cache.sh

# Benchmarks on the optimised build: print figures, assert nothing.
bench:
	@scripts/install-deps.sh test
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	bench/run.sh build/ci 10

# The web page beside its floor page, in headless Chromium, and Lighthouse's
# view of both.
bench-web: web
	@scripts/install-deps.sh test-web
	cmake --build --preset web --target floor_page -j $(JOBS)
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	cd bench && npm ci --no-audit --no-fund --loglevel=error
	node bench/web.mjs build/wasm 10
	node bench/lighthouse.mjs build/wasm 5

format:
	@scripts/install-deps.sh test
	clang-format -i $(SOURCES)

check-format:
	@scripts/install-deps.sh test
	clang-format --dry-run -Werror $(SOURCES)
	shellcheck $(SHELL_SCRIPTS)

clean:
	rm -rf build
