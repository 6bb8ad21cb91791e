#!/usr/bin/env bash
# Builds a host project that takes the libraries in with add_subdirectory (no settings of
# its own), checks that only the libraries were configured, and runs the panel example
# it links.
# Usage: subproject_test.sh SOURCE_DIR
set -euo pipefail

source=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/metronomekit-host.XXXXXX")
trap 'rm -rf "$work"' EXIT
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S "$source/tests/package/subproject" -B "$work/build" -G Ninja \
  -DMETRONOME_SOURCE_DIR="$source" "${launcher[@]}" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; echo "FAIL: the host project does not configure" >&2; exit 1; }
# Only the libraries: no program, test or benchmark of the project is a target.
targets=$(ninja -C "$work/build" -t targets all)
for unwanted in bin/metronome bin/gallery bin/screenshot _tests gtest benchmark; do
  if grep -q "$unwanted" <<<"$targets"; then
    echo "FAIL: the host's build holds $unwanted" >&2
    exit 1
  fi
done
cmake --build "$work/build" -j 2 >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log" >&2; echo "FAIL: the host project does not build" >&2; exit 1; }
"$work/build/host_panel"
