#!/usr/bin/env bash
# Installs the Debian packages a command needs, when missing, and says which.
#   setup.sh run    building and running the program and the gallery (make run, build)
#   setup.sh test   the above and the tests' tools and libraries (make test, bench)
#   setup.sh fuzz   the fuzzing toolchain (tests/fuzz/run.sh)
# Quiet when everything is present; uses sudo when not run as root. SKIP_SETUP=1, or a
# system without Debian's package tools, installs nothing and prints the list instead.
set -euo pipefail

group=${1:-test}
run_packages=(
  cmake ninja-build g++ make pkg-config
  libsdl2-dev libpulse-dev libx11-dev libfreetype-dev libfontconfig-dev libpng-dev
  fonts-liberation2 fonts-dejavu-core
)
# The tests' libraries and tools: GoogleTest, Google Benchmark, a private X server and
# input for the end-to-end tests, a nested Wayland compositor, image tools, the
# desktop-entry, AppStream and manual-page validators, a sound server for the sound tests.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick desktop-file-utils appstream man-db groff-base weston
  pulseaudio pulseaudio-utils python3
)

case $group in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  fuzz) packages=(clang libclang-rt-dev cmake ninja-build pkg-config
      libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2 fonts-dejavu-core) ;;
  *) echo "usage: setup.sh run|test|fuzz" >&2; exit 2 ;;
esac

if [[ ${SKIP_SETUP:-0} == 1 ]] || ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  if [[ ${SKIP_SETUP:-0} != 1 ]]; then
    echo "setup: no Debian package tools here; installing nothing."
  fi
  echo "setup: for '$group' these Debian packages (or your system's equivalents) are needed:"
  echo "  ${packages[*]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing for '$group': ${missing[*]}"
echo "setup: (set SKIP_SETUP=1 to install them yourself instead)"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install packages" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
