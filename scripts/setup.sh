#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
# Quiet and quick when everything is present; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libsdl2-dev libpulse-dev libx11-dev libfreetype-dev libfontconfig-dev libpng-dev
  fonts-liberation2 fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick desktop-file-utils weston
  pulseaudio pulseaudio-utils python3
)

# `setup.sh fuzz`: the fuzzing toolchain instead (clang and its libFuzzer runtime).
if [[ ${1:-} == fuzz ]]; then
  packages=(clang libclang-rt-dev cmake ninja-build pkg-config
    libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2 fonts-dejavu-core)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install packages" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
