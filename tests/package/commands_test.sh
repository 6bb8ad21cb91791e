#!/usr/bin/env bash
# The project's make commands as a new user meets them, run on a scratch copy of the
# Makefile and the setup script (nothing is built or installed): a plain `make` lists the
# targets; `make build` builds only the program and the gallery, without tests or
# benchmarks; `make clean` keeps the settings file beside the program; SKIP_SETUP=1
# installs nothing and lists the packages, those of `make run` without the test tools.
# Usage: commands_test.sh SOURCE_DIR
set -euo pipefail

source=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/metronome-make.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
mkdir -p "$work/scripts"
cp "$source/Makefile" "$work/"
cp "$source/scripts/setup.sh" "$work/scripts/"
cd "$work"

listing=$(make 2>&1) || fail "a plain make fails"
for target in run build gallery test bench install clean; do
  grep -q "^make $target " <<<"$listing" || fail "a plain make does not describe 'make $target'"
done
grep -q "SKIP_SETUP=1" <<<"$listing" || fail "a plain make does not mention SKIP_SETUP=1"
[[ ! -e build ]] || fail "a plain make created build/"

plan=$(make -n build)
grep -q "setup.sh run" <<<"$plan" || fail "make build does not set up the run packages only"
grep -q -- "-DMETRONOME_TESTS=OFF" <<<"$plan" || fail "make build configures the tests"
grep -q -- "-DMETRONOME_BENCH=OFF" <<<"$plan" || fail "make build configures the benchmarks"
grep -qE -- "--target metronome gallery" <<<"$plan" || fail "make build builds more than the program and the gallery"
grep -q "setup.sh test" <<<"$(make -n build-test)" || fail "make test does not set up the test packages"

mkdir -p build/bin build/test
printf '[Config]\nTempo=97\n' >build/bin/metronome.ini
touch build/bin/metronome build/test/junk
make clean >/dev/null
[[ $(cat build/bin/metronome.ini 2>/dev/null) == $'[Config]\nTempo=97' ]] || fail "make clean lost the settings file"
[[ ! -e build/bin/metronome && ! -e build/test ]] || fail "make clean left build products behind"
rm -rf build
make clean >/dev/null
[[ ! -e build ]] || fail "make clean without settings left build/"

run=$(SKIP_SETUP=1 scripts/setup.sh run)
test=$(SKIP_SETUP=1 scripts/setup.sh test)
grep -q "libsdl2-dev" <<<"$run" || fail "the run list lacks libsdl2-dev: $run"
grep -q "libgtest-dev\|xvfb" <<<"$run" && fail "the run list holds test tools: $run"
grep -q "libgtest-dev" <<<"$test" && grep -q "appstream" <<<"$test" || fail "the test list lacks the test tools: $test"

if [[ $failures -gt 0 ]]; then
  echo "commands: $failures check(s) failed" >&2
  exit 1
fi
echo "commands: make lists, builds lean, cleans without losing settings; SKIP_SETUP lists"
