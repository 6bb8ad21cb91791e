# The project's commands. `make` alone lists them.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
PREFIX ?= /usr/local
# The program's settings file lives beside it in the build tree; `make clean` keeps it.
SETTINGS := build/bin/metronome.ini

.PHONY: help run test test-tsan build build-all build-test bench setup-run setup-test install clean gallery

help:
	@echo "make run        build the program (Release) and start it; it stays in the foreground until Quit"
	@echo "make build      build the program and the control gallery into build/bin"
	@echo "make gallery    build and start the control gallery"
	@echo "make test       build the tests (sanitizers, build/test) and run them all"
	@echo "make test-tsan  the thread and timer suites under ThreadSanitizer"
	@echo "make bench      build the benchmarks (Release, build/bench); see bench/RESULTS.md"
	@echo "make install    install the program, the libraries and their package files (PREFIX=$(PREFIX))"
	@echo "make clean      remove build/, keeping the program's settings file"
	@echo "Each installs the Debian packages it needs first (scripts/setup.sh; SKIP_SETUP=1 skips it)."

setup-run:
	@scripts/setup.sh run

setup-test:
	@scripts/setup.sh test

# Only what the program and the gallery need: no tests, no benchmarks.
build: setup-run
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DMETRONOME_TESTS=OFF -DMETRONOME_BENCH=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target metronome gallery

run: build
	./build/bin/metronome

# The control gallery: every library control on pages, to try and to read.
gallery: build
	./build/bin/gallery

# Tests build apart from the program, with AddressSanitizer and UndefinedBehaviorSanitizer.
build-test: setup-test
	@cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DMETRONOME_SANITIZE=ON -DMETRONOME_WERROR=ON >/dev/null
	@cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

bench: setup-test
	@cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DMETRONOME_TESTS=OFF -DMETRONOME_BENCH=ON >/dev/null
	@cmake --build build/bench -j $(JOBS)

# The thread and timer suites under ThreadSanitizer (not part of `make test`: TSan cannot be
# combined with the address sanitizer, and a second full build would double CI time).
test-tsan: setup-test
	@cmake -S . -B build/tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMETRONOME_TSAN=ON \
	    -DMETRONOME_BENCH=OFF >/dev/null
	@cmake --build build/tsan -j $(JOBS) --target framework_tests app_lib_tests
	build/tsan/bin/framework_tests --gtest_filter='Thread*:Synchronize*'
	build/tsan/bin/app_lib_tests --gtest_filter='ThreadedTimer*:Launcher*'

# Everything the install needs: the program, the libraries and their package files.
build-all: setup-run
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DMETRONOME_TESTS=OFF -DMETRONOME_BENCH=OFF >/dev/null
	@cmake --build build -j $(JOBS)

install: build-all
	cmake --install build --prefix $(PREFIX)

clean:
	@if [ -f $(SETTINGS) ]; then \
	    keep=$$(mktemp) && cp -p $(SETTINGS) "$$keep" && rm -rf build && mkdir -p build/bin && \
	    mv "$$keep" $(SETTINGS) && echo "make clean: kept your settings in $(SETTINGS)"; \
	else rm -rf build; fi
