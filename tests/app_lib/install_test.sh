#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs: the program,
# a valid desktop entry that starts it, and the application icon in every size made.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR DESKTOP_ID
set -euo pipefail

build=$1 source=$2 id=$3
prefix=$(mktemp -d "${TMPDIR:-/tmp}/metronome install.XXXXXX")   # a blank in the path
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

[[ -x "$build/bin/metronome" ]] || { echo "FAIL: $build/bin/metronome is not built" >&2; exit 1; }
# The desktop entry made for this prefix is written into the prefix alone, never into the
# build: installs of one build into several prefixes at once, as packaging may make, would
# otherwise hand each other their entries.
marker="$prefix.marker"
touch "$marker"
trap 'rm -rf "$prefix" "$marker"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
written=$(find "$build" -type f -name '*.desktop' -newer "$marker" | head -n 5)
[[ -z "$written" ]] || fail "the install wrote a desktop entry into the build: $written"

program="$prefix/bin/metronome"
[[ -x "$program" ]] || fail "no executable $program"
cmp -s "$program" "$build/bin/metronome" || fail "the installed program differs from the built one"

entry="$prefix/share/applications/$id.desktop"
if [[ ! -f "$entry" ]]; then
  fail "no desktop entry $entry"
else
  if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [[ -z "$out" ]] || fail "desktop-file-validate says: $out"
  else
    echo "note: desktop-file-validate not installed; the entry was checked by this script only"
  fi
  grep -qx 'Type=Application' "$entry" || fail "entry: no Type=Application"
  grep -qx 'Icon=metronome' "$entry" || fail "entry: no Icon=metronome"
  grep -q '^Name=.' "$entry" || fail "entry: no Name"
  # The prefix holds a blank, so Exec quotes the absolute path of the installed program.
  grep -qxF "Exec=\"$program\"" "$entry" || fail "entry: Exec is not the installed program: $(grep '^Exec=' "$entry")"
  grep -qxF "TryExec=$program" "$entry" || fail "entry: TryExec is not the installed program"
fi

sizes=0
for icon in "$source"/resources/icons/hicolor/*/apps/metronome.png; do
  [[ -f "$icon" ]] || continue
  size=$(basename "$(dirname "$(dirname "$icon")")")
  installed="$prefix/share/icons/hicolor/$size/apps/metronome.png"
  cmp -s "$icon" "$installed" || fail "icon $size not installed as $installed"
  sizes=$((sizes + 1))
done
[[ $sizes -gt 0 ]] || fail "no application icon in the sources"
extra=$(find "$prefix/share/icons" -type f ! -name metronome.png | head -n 5)
[[ -z "$extra" ]] || fail "files other than the icon under share/icons: $extra"

if [[ $failures -gt 0 ]]; then
  echo "install: $failures check(s) failed" >&2
  exit 1
fi
echo "install: program, desktop entry and $sizes icon sizes in place"
