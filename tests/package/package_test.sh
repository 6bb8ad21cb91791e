#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds a program on the installed
# libraries alone: the panel example (examples/panel, copied out of the source tree) with
# CMake through find_package, and once with a plain compiler command through pkg-config.
# Each build's headless check renders the panel and checks its pixels.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/metronomekit.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
launcher=()
command -v ccache >/dev/null && launcher=(ccache)

cmake --install "$build" --prefix "$prefix" >/dev/null
inc=$prefix/include/metronomekit
libdir=$(dirname "$(find "$prefix" -name MetronomeKitConfig.cmake -printf '%h\n' | head -n 1)")
libdir=${libdir%/cmake}
[[ -d $libdir ]] || { echo "FAIL: no MetronomeKitConfig.cmake under $prefix" >&2; exit 1; }

# The archives, a pkg-config file per layer, one header folder per layer.
for layer in platform platform-sdl platform-headless framework rackctls effectlib; do
  [[ -f $libdir/libmetronomekit-$layer.a ]] || fail "no archive libmetronomekit-$layer.a"
  [[ -f $libdir/pkgconfig/metronomekit-$layer.pc ]] || fail "no pkg-config file for $layer"
done
for dir in platform framework rackctls effectlib; do
  [[ -n $(find "$inc/$dir" -name '*.h' 2>/dev/null | head -n 1) ]] || fail "no headers in $inc/$dir"
done
private=$(find "$inc" -name '*_p.h' -o -name FontImpl.h)
[[ -z $private ]] || fail "private headers installed: $private"
# Every header the installed headers include from the project is installed too.
while IFS= read -r header; do
  while IFS= read -r name; do
    [[ -f $inc/$name || -f $(dirname "$header")/$name ]] ||
      fail "${header#"$inc"/} includes $name, which is not installed"
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$header")
done < <(find "$inc" -name '*.h')

# The example, out of the source tree, against the CMake package.
cp -r "$source/examples/panel" "$work/panel"
cmake -S "$work/panel" -B "$work/cmake-build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_PREFIX_PATH="$prefix" ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=ccache} >/dev/null
cmake --build "$work/cmake-build" -j 2 >"$work/cmake-build.log" 2>&1 ||
  { cat "$work/cmake-build.log" >&2; fail "the example does not build with CMake"; }
if grep -qF "$source/" "$work/cmake-build/build.ninja"; then
  fail "the example's build reaches into the source tree: $(grep -oF "$source/[^ ]*" "$work/cmake-build/build.ninja" | head -n 3)"
fi
if [[ -x $work/cmake-build/panel_check ]]; then
  "$work/cmake-build/panel_check" >"$work/check.log" 2>&1 ||
    { cat "$work/check.log" >&2; fail "the example built with CMake fails its check"; }
fi
[[ -x $work/cmake-build/panel ]] || fail "the windowed example was not built"

# Once more with pkg-config and one plain compiler command.
export PKG_CONFIG_PATH=$libdir/pkgconfig
for layer in platform platform-sdl platform-headless framework rackctls effectlib; do
  pkg-config --exists --print-errors "metronomekit-$layer" || fail "pkg-config cannot read metronomekit-$layer"
done
flags=$(pkg-config --cflags --libs metronomekit-rackctls metronomekit-effectlib metronomekit-platform-headless)
command=("${launcher[@]}" "${CXX:-c++}" -std=c++20 "$work/panel/Panel.cpp" "$work/panel/Lamp.cpp" "$work/panel/panel_check.cpp"
  $flags -o "$work/panel_check_pc")
echo "${command[*]}" >"$work/pc-command.txt"
if "${command[@]}" >"$work/pc-build.log" 2>&1; then
  "$work/panel_check_pc" >"$work/check.log" 2>&1 ||
    { cat "$work/check.log" >&2; fail "the example built with pkg-config fails its check"; }
else
  cat "$work/pc-command.txt" "$work/pc-build.log" >&2
  fail "the example does not build with pkg-config"
fi

if [[ $failures -gt 0 ]]; then
  echo "package: $failures check(s) failed" >&2
  exit 1
fi
echo "package: installed, the example built with CMake and with pkg-config, both checks pass"
