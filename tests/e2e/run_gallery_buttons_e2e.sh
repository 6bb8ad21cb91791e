#!/usr/bin/env bash
# End-to-end check of the gallery's buttons page on a private Xvfb display, driven with
# xdotool: the page button shows the page; a click on a grouped speed button puts it down
# and releases the one that was down (read back from the screen: the held button's
# checkerboard moves); Tab reaches the first focus button, Space held shows it sunken and
# clicks it once on the release; Enter clicks it at once. The gallery writes each status
# line to standard output, which is what the events are read from.
set -u

prog=${1:?usage: run_gallery_buttons_e2e.sh <gallery binary>}
work=$(mktemp -d)
out="$work/out"
xvfb_pid=""
prog_pid=""

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
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  for f in "$out" "$work/err"; do
    [[ -s $f ]] && { echo "--- $(basename "$f") ---" >&2; cat "$f" >&2; }
  done
  exit 1
}

for cmd in Xvfb xdotool xwininfo xdpyinfo import; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# The client area's screen position of window $1 as "x y".
origin() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    END { print x, y }'
}

# "r g b" of the screen pixel (x, y).
pixel() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null | awk -F'[,:() ]+' '
    /^[0-9]/ { print $3, $4, $5 }'
}

# Waits up to 3 s until the screen pixel ($1, $2) is "$3".
expect_pixel() {
  local got=""
  for (( i = 0; i < 30; i++ )); do
    got=$(pixel "$1" "$2")
    [[ $got == "$3" ]] && return 0
    sleep 0.1
  done
  fail "pixel ($1, $2) is '$got', expected '$3' ($4)"
}

# Waits up to 3 s until standard output holds line "$1" exactly $2 times.
expect_lines() {
  local n=0
  for (( i = 0; i < 30; i++ )); do
    n=$(grep -cxF "$1" "$out")
    [[ $n -eq $2 ]] && return 0
    sleep 0.1
  done
  fail "'$1' was written $n times, expected $2"
}

click() { xdotool mousemove --sync "$1" "$2" click 1; }

"$prog" >"$out" 2>"$work/err" &
prog_pid=$!
wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
[[ -n $wid ]] || fail "the gallery's window did not appear"
sleep 0.5
read -r x y < <(origin "$wid")

# The page buttons stand below the first page (430 high), 100 apart: "buttons" is second.
click $((x + 8 + 100 + 48)) $((y + 430 + 4 + 17))
for (( i = 0; i < 30; i++ )); do
  read -r x y < <(origin "$wid")
  [[ $(xwininfo -id "$wid" | awk '/^ *Height:/ { print $NF }') -eq $((330 + 44)) ]] && break
  sleep 0.1
done
sleep 0.5
read -r x y < <(origin "$wid")

# Group 1: A (10, 24) is down at the start, its checkerboard white at even offsets.
white="255 255 255"
expect_pixel $((x + 10 + 4)) $((y + 24 + 4)) "$white" "the held button's checkerboard"
face=$(pixel $((x + 10 + 4)) $((y + 24 + 5)))
click $((x + 54 + 20)) $((y + 24 + 12))
expect_lines "spdB: OnClick, Down True" 1
# Away from B, so that its checkerboard shows; A's is gone.
xdotool mousemove --sync $((x + 600)) $((y + 300))
expect_pixel $((x + 54 + 4)) $((y + 24 + 4)) "$white" "the checkerboard of the button now held"
expect_pixel $((x + 10 + 4)) $((y + 24 + 4)) "$face" "the released button's face"

# Tab to the first focus button (10, 204); Space held sinks it, the release clicks once.
xdotool key --window "$wid" Tab
sleep 0.3
xdotool keydown space
sleep 0.3
shadow=$(pixel $((x + 10)) $((y + 204)))
[[ $(grep -cxF "fbnFirst: OnClick" "$out") -eq 0 ]] || fail "Space clicked on the press"
xdotool keyup space
expect_lines "fbnFirst: OnClick" 1
sleep 0.3
raised=$(pixel $((x + 10)) $((y + 204)))
[[ $shadow != "$raised" ]] || fail "the focus button did not sink while Space was held ($shadow)"
xdotool key Return
expect_lines "fbnFirst: OnClick" 2
echo "gallery buttons e2e: ok"
