# The two commands of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: run test test-tsan build build-test setup install clean gallery

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build -j $(JOBS)

run: build
	./build/bin/metronome

# The control gallery: every library control on pages, to try and to read.
gallery: build
	./build/bin/gallery

# Tests build apart from the program, with AddressSanitizer and UndefinedBehaviorSanitizer.
build-test: setup
	@cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DMETRONOME_SANITIZE=ON -DMETRONOME_WERROR=ON >/dev/null
	@cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

# The thread and timer suites under ThreadSanitizer (not part of `make test`: TSan cannot be
# combined with the address sanitizer, and a second full build would double CI time).
test-tsan: setup
	@cmake -S . -B build/tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMETRONOME_TSAN=ON \
	    -DMETRONOME_BENCH=OFF >/dev/null
	@cmake --build build/tsan -j $(JOBS) --target framework_tests app_lib_tests
	build/tsan/bin/framework_tests --gtest_filter='Thread*:Synchronize*'
	build/tsan/bin/app_lib_tests --gtest_filter='ThreadedTimer*:Launcher*'

install: build
	cmake --install build --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf build
