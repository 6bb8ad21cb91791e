# The two commands of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: run test build build-test setup install clean

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build -j $(JOBS)

run: build
	./build/bin/metronome

# Tests build apart from the program, with AddressSanitizer and UndefinedBehaviorSanitizer.
build-test: setup
	@cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DMETRONOME_SANITIZE=ON -DMETRONOME_WERROR=ON >/dev/null
	@cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install build --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf build
