#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the program's metadata: the
# AppStream metainfo validates without errors or warnings and names the installed desktop
# entry; the manual page renders without warnings, documents exactly the options that
# --help lists and the version that --version prints; other arguments are refused.
# Usage: metadata_test.sh BUILD_DIR DESKTOP_ID
set -euo pipefail

build=$1 id=$2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/metronome-meta.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for cmd in appstreamcli man; do
  command -v $cmd >/dev/null || { echo "FAIL: $cmd is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
done
cmake --install "$build" --prefix "$prefix" >/dev/null
program=$prefix/bin/metronome

metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [[ ! -f $metainfo ]]; then
  fail "no metainfo $metainfo"
else
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate failed: $out"
  grep -E '^[EW]:' <<<"$out" && fail "appstreamcli reports errors or warnings"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  [[ $launchable == "$id.desktop" && -f $prefix/share/applications/$launchable ]] ||
    fail "the metainfo launches '$launchable', not the installed entry $id.desktop"
  grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
fi

page=$prefix/share/man/man1/metronome.1
if [[ ! -f $page ]]; then
  fail "no manual page $page"
else
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man --warnings: $warnings"
  # The options as both list them: each word starting with '-' on an option line.
  options_of() { grep -oE '(^|[ ,])--?[A-Za-z][A-Za-z-]*' | tr -d ' ,' | sort -u; }
  help=$("$program" --help) || fail "--help does not end with status 0"
  from_help=$(sed -n '/^Options:/,/^$/p' <<<"$help" | options_of)
  from_page=$(MANWIDTH=80 man -l "$page" 2>/dev/null | sed -n '/^OPTIONS/,/^[A-Z]/p' | grep -E '^ +-' | options_of)
  [[ -n $from_help ]] || fail "--help lists no options"
  [[ $from_help == "$from_page" ]] ||
    fail "options differ: --help has [$(echo $from_help)], the manual page [$(echo $from_page)]"
  version=$("$program" --version)
  grep -qF "\"$version\"" "$page" || fail "the manual page is not of '$version'"
  for section in NAME SYNOPSIS OPTIONS KEYS FILES ENVIRONMENT; do
    grep -q "^\.SH $section" "$page" || fail "the manual page has no $section section"
  done
fi

status=0
"$program" --no-such-option >/dev/null 2>&1 || status=$?
[[ $status -eq 2 ]] || fail "an unknown option ends with status $status, not 2"

if [[ $failures -gt 0 ]]; then
  echo "metadata: $failures check(s) failed" >&2
  exit 1
fi
echo "metadata: metainfo valid, manual page clean and in step with --help"
