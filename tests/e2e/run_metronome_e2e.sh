#!/usr/bin/env bash
# End-to-end check of the metronome on a private Xvfb display, driven with xdotool and
# read back with ImageMagick's import: the window's place and size, Run lighting its LED
# and the count rising with the tempo, RST showing 00000, Quit writing the four settings,
# stored settings coming back at the next start, status 1 with one line on standard error
# when there is no display, the window's name, class and icons, dragging by the frame and
# by the screw panel, and settings carried on read-only media. The program runs as a copy in a temporary folder, so
# its settings file is the test's own. Xvfb and the program are stopped on every path.
set -u

prog=${1:?usage: run_metronome_e2e.sh <metronome binary>}
work=$(mktemp -d)
out="$work/out"
xvfb_pid=""
prog_pid=""

# The program goes before its display does, and is not waited for beyond 5 s.
cleanup() {
  if [[ -n $prog_pid ]]; then
    kill "$prog_pid" 2>/dev/null
    for (( i = 0; i < 50; i++ )); do
      kill -0 "$prog_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$prog_pid" 2>/dev/null
    wait "$prog_pid" 2>/dev/null
  fi
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && wait "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  for f in "$out" "$work/err"; do
    [[ -s $f ]] && { echo "--- $(basename "$f") ---" >&2; cat "$f" >&2; }
  done
  [[ -f $ini ]] && { echo "--- settings ---" >&2; cat "$ini" >&2; }
  exit 1
}

for cmd in Xvfb xdotool xwininfo xdpyinfo xprop import; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"





now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Reads the count into $count and checks it against a run at $1 bpm that started between
# the clock values $2 and $3 (ms): no fewer beats than since the later, no more than since
# the earlier, as the screen was read. The times make the check hold on a busy machine.
check_count() {
  local bpm=$1 s0=$2 s1=$3 before after lo hi
  before=$(now_ms)
  count=$(read_count "${disp[@]}")
  after=$(now_ms)
  [[ $count =~ ^[0-9]+$ ]] || fail "the display could not be read ($count)"
  lo=$(( (before - s1) * bpm / 60000 - 1 ))
  hi=$(( (after - s0) * bpm / 60000 + 1 ))
  (( count >= lo && count <= hi )) || fail "at $bpm bpm the count is $count, not within $lo..$hi"
}

# A free display of its own range, so both scripts can run at once.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/screen.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# Starts the copy and sets wid to its window; $1 is the expected geometry.
start() {
  "$exe" >"$out" 2>"$work/err" &
  prog_pid=$!
  wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
  [[ -n $wid ]] || fail "the metronome's window did not appear"
  expect_geometry "$wid" "$1"
  sleep 0.3
}

# Waits for the program to end and checks its status.
expect_exit() {
  for (( i = 0; i < 100; i++ )); do
    kill -0 "$prog_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$prog_pid" 2>/dev/null && fail "the program did not end"
  wait "$prog_pid"
  local status=$?
  prog_pid=""
  [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

click() { xdotool mousemove --sync "$1" "$2" click 1; }

# Screen places with the window at (x, y): Run, Beep, RST, Quit, the display.
places() {
  local x=$1 y=$2
  run_led=(66 26 $((x + 332)) $((y + 51)));   run_at=($((x + 365)) $((y + 64)))
  beep_led=(66 26 $((x + 332)) $((y + 78)))
  rst_at=($((x + 233)) $((y + 410)))
  quit_at=($((x + 366)) $((y + 24)))
  disp=($((x + 112)) $((y + 395)))
}

# ---- Without a display: one line on standard error, status 1. ------------------------
# No X11 display, no Wayland socket, no driver named: no driver without a screen is taken
# in their place.
mkdir -p "$work/noruntime"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work/noruntime" \
  timeout 20 "$exe" >"$out" 2>"$work/err"
status=$?
[[ $status -eq 1 ]] || fail "without a display the program ended with status $status, not 1"
[[ $(wc -l <"$work/err") -eq 1 ]] || fail "without a display standard error is not one line"
grep -q "No display could be opened" "$work/err" || fail "without a display the reason was not given"
[[ -e $ini ]] && fail "the failed start wrote a settings file"
# A driver the user names is the one tried.
DISPLAY= SDL_VIDEODRIVER=x11 timeout 20 "$exe" >"$out" 2>"$work/err"
status=$?
[[ $status -eq 1 ]] || fail "with SDL_VIDEODRIVER=x11 and no display the status is $status, not 1"
grep -q "No display could be opened" "$work/err" || fail "with a named driver the reason was not given"

# ---- First start: no settings file. -------------------------------------------------
[[ -e $ini ]] && fail "a settings file exists before the first start"
start "360 113 412 443"
places 360 113
[[ $(read_count "${disp[@]}") == 0 ]] || fail "the display does not show 00000 at start"
expect_led "${run_led[@]}" off
expect_led "${beep_led[@]}" off

s0=$(now_ms)
click "${run_at[@]}"
expect_led "${run_led[@]}" on
s1=$(now_ms)
sleep 2.2
check_count 120 "$s0" "$s1"
n1=$count
sleep 2.0
check_count 120 "$s0" "$s1"
(( n1 >= 3 && count > n1 )) || fail "at 120 bpm the count went from $n1 to $count"

click "${run_at[@]}"
expect_led "${run_led[@]}" off
n3=$(read_count "${disp[@]}")
sleep 0.8
[[ $(read_count "${disp[@]}") == "$n3" ]] || fail "the count goes on after Run was switched off"
click "${rst_at[@]}"
sleep 0.3
[[ $(read_count "${disp[@]}") == 0 ]] || fail "RST does not show 00000"

click "${quit_at[@]}"
expect_exit
[[ -f $ini ]] || fail "Quit wrote no settings file"
expected=$'[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=120\nBeep=0'
[[ $(cat "$ini") == "$expected" ]] || fail "the settings written by Quit are not the four expected"

# ---- Second start: stored position, tempo and Beep come back. ------------------------
printf '[Form.Position]\ntop=200\nleft=100\n[Config]\nTempo=150\nBeep=1\n' >"$ini"
start "100 200 412 443"
places 100 200
expect_led "${beep_led[@]}" on
expect_led "${run_led[@]}" off
s0=$(now_ms)
click "${run_at[@]}"
expect_led "${run_led[@]}" on
s1=$(now_ms)
sleep 2.2
# 150 bpm: two and a half beats a second.
check_count 150 "$s0" "$s1"
(( count >= 4 )) || fail "after 2.2 s at 150 bpm the count is $count"

# SIGTERM is an orderly close: the settings are written and the status is 0.
kill -TERM "$prog_pid"
expect_exit
expected=$'[Form.Position]\ntop=200\nleft=100\n[Config]\nTempo=150\nBeep=1'
[[ $(cat "$ini") == "$expected" ]] || fail "the settings written at SIGTERM are not the stored ones"

# ---- The window on the desktop: its name, class and icons. ----------------------------
start "100 200 412 443"
places 100 200
entry="$here/../../app/desktop/com.example.kelvo_music.Metronome.desktop.in"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[[ -n $wm_class ]] || fail "the desktop entry names no window class"
props=$(xprop -id "$wid" WM_NAME _NET_WM_NAME WM_CLASS)
grep -qx 'WM_NAME(STRING) = "Kelvo Music Metronome"' <<<"$props" \
  || grep -qx 'WM_NAME(UTF8_STRING) = "Kelvo Music Metronome"' <<<"$props" \
  || fail "the window's name is not the desktop entry's: $props"
grep -qx '_NET_WM_NAME(UTF8_STRING) = "Kelvo Music Metronome"' <<<"$props" \
  || fail "the window's _NET_WM_NAME is not the desktop entry's: $props"
grep -qx "WM_CLASS(STRING) = \"metronome\", \"$wm_class\"" <<<"$props" \
  || fail "the window's class is not the one the desktop entry names: $props"
icons=$(xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[[ $icons == "Icon (128 x 128) Icon (64 x 64) Icon (48 x 48) Icon (32 x 32) Icon (16 x 16) " ]] \
  || fail "the window's icons are '$icons', not the five sizes largest first"

# ---- Dragging: by the frame, then by the screw panel between the controls. ------------
# Press, six moves, release, as a hand would; the window follows the pointer's travel.
drag() {
  local x=$1 y=$2; shift 2
  xdotool mousemove --sync "$x" "$y" mousedown 1
  while (( $# >= 2 )); do
    x=$((x + $1)); y=$((y + $2)); shift 2
    xdotool mousemove --sync "$x" "$y"
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.2
}
drag $((100 + 5)) $((200 + 200)) 10 7 10 7 10 7 10 7 10 6 10 6
expect_geometry "$wid" "160 240 412 443"
drag $((160 + 161)) $((240 + 39)) -5 -4 -5 -4 -5 -3 -5 -3 -5 -3 -5 -3
expect_geometry "$wid" "130 220 412 443"
places 130 220
click "${quit_at[@]}"
expect_exit
expected=$'[Form.Position]\ntop=220\nleft=130\n[Config]\nTempo=150\nBeep=1'
[[ $(cat "$ini") == "$expected" ]] || fail "Quit did not write the position the drags left"

# ---- On read-only media: the settings beside the program are read, the per-user file
# is written. The program runs as an unprivileged user where the test is root, for whom
# no folder is read-only.
ro="$work/ro"
mkdir -p "$ro" "$work/user"
cp "$prog" "$ro/metronome"
printf '[Form.Position]\ntop=50\nleft=70\n[Config]\nTempo=90\nBeep=1\n' >"$ro/metronome.ini"
chmod 555 "$ro"
chmod 777 "$work/user"
chmod 755 "$work"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  command -v setpriv >/dev/null || fail "setpriv is not installed (util-linux)"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
HOME="$work/user" XDG_CONFIG_HOME="$work/user/config" "${as_user[@]}" "$ro/metronome" \
  >"$out" 2>"$work/err" &
prog_pid=$!
wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
[[ -n $wid ]] || fail "the metronome on read-only media showed no window"
expect_geometry "$wid" "70 50 412 443"
sleep 0.3
places 70 50
expect_led "${beep_led[@]}" on
click "${quit_at[@]}"
expect_exit
[[ $(cat "$work/user/config/metronome.ini" 2>/dev/null) == \
   $'[Form.Position]\ntop=50\nleft=70\n[Config]\nTempo=90\nBeep=1' ]] \
  || fail "the per-user settings file does not hold the carried settings"
[[ $(cat "$ro/metronome.ini") == $'[Form.Position]\ntop=50\nleft=70\n[Config]\nTempo=90\nBeep=1' ]] \
  || fail "the settings file on read-only media changed"
chmod 755 "$ro"

echo "metronome e2e: all checks passed on $DISPLAY"
