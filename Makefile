# The two everyday commands: `make run` builds and starts the program, `make test`
# builds and runs every test. Both install missing build dependencies first.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all bootstrap configure build run test bench asan package clean windows windows-test

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/morvik

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Debian package of the program (build/morvik_*.deb).
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

# The whole test suite again under AddressSanitizer and UndefinedBehaviorSanitizer, with
# leak detection: a leak fails its test. Only leaks inside system libraries are suppressed
# (tests/support/lsan.supp says which and why).
LSAN_SUPPRESSIONS := $(CURDIR)/tests/support/lsan.supp
asan: bootstrap
	@test -f build-asan/CMakeCache.txt || cmake -S . -B build-asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DMORVIK_SANITIZE=ON -DMORVIK_BUILD_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(LSAN_SUPPRESSIONS):print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Windows, cross-built here: morvik.exe and morvik-cli.exe in a portable folder, its .zip
# and the installer, all in build-windows/ (scripts/windows-build says more). WINDOWS_QT
# names a qtbase built for MinGW-w64 (a prefix or its .tar.xz); without one, qtbase is built
# once into build-windows/deps, which takes about an hour.
WINDOWS_QT ?= $(wildcard ../shared/windows/qtbase-6.4.2-mingw-w64-x86_64.tar.xz)
windows:
	WINDOWS_QT="$(WINDOWS_QT)" scripts/windows-build

# The test suites of the Windows build under Wine, without a display.
windows-test:
	WINDOWS_QT="$(WINDOWS_QT)" scripts/windows-build test

clean:
	rm -rf $(BUILD) build-asan
