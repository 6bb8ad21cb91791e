#!/usr/bin/env bash
# Measures a first `make run` as a new user sees it: from a fresh clone (given as the
# folder), the time until the metronome's window is on a private Xvfb display, and the
# number of build steps Ninja ran. The program is closed once its window has appeared.
# Usage: bench/first_run.sh CLONE_DIR   (the clone must have no build/ folder yet)
set -uo pipefail
clone=$(cd "${1:?usage: first_run.sh CLONE_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
fail() { echo "first_run: $*" >&2; exit 1; }
source "$here/../tests/e2e/xvfb.sh"
cleanup() {
  [[ -n ${make_pid:-} ]] && kill -- -"$make_pid" 2>/dev/null
  [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
[[ -e $clone/build ]] && fail "$clone/build exists; measure a fresh clone"
start_xvfb
start=$(date +%s.%N)
( cd "$clone" && exec setsid make run ) >"$work/make.log" 2>&1 &
make_pid=$!
while kill -0 "$make_pid" 2>/dev/null; do
  if xdotool search --classname '^metronome$' >/dev/null 2>&1; then
    end=$(date +%s.%N)
    steps=$(grep -o '^\[[0-9]*/[0-9]*\]' "$work/make.log" | tail -n 1)
    awk -v s="$start" -v e="$end" -v n="$steps" 'BEGIN { printf "window after %.0f s; build steps %s\n", e - s, n }'
    exit 0
  fi
  sleep 0.5
done
tail -n 20 "$work/make.log" >&2
fail "make run ended before a window appeared"
