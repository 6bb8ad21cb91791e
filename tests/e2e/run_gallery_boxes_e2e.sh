#!/usr/bin/env bash
# End-to-end check of the gallery's boxes page on a private Xvfb display, driven with
# xdotool and read back with ImageMagick's import: the combo box drops its list on a
# click, a click on an item chooses it and the face shows that item's picture; the
# keyboard chooses another; the mouse wheel scrolls the wallpaper list box, so that
# another item's picture stands in its first row. Xvfb and the program are stopped on
# every path.
set -u

prog=${1:?usage: run_gallery_boxes_e2e.sh <gallery binary>}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
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
  [[ -s $work/err ]] && { echo "--- stderr ---" >&2; cat "$work/err" >&2; }
  exit 1
}

for cmd in Xvfb xdotool xdpyinfo import; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done
source "$here/xvfb.sh"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export SDL_AUDIODRIVER=dummy
start_xvfb

"$prog" >"$work/out" 2>"$work/err" &
prog_pid=$!
wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
[[ -n $wid ]] || fail "the gallery's window did not appear"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$wid")"
wx=$X
wy=$Y

# The colour of the window pixel (x, y) as "r g b".
pixel() {
  import -window root -crop "1x1+$((wx + $1))+$((wy + $2))" +repage -depth 8 txt:- 2>/dev/null \
    | awk -F'[,:() ]+' '/^[0-9]/ { print $3, $4, $5 }'
}
# Waits up to 3 s for the window pixel (x, y) to be "r g b".
expect_pixel() {
  local got=""
  for (( i = 0; i < 30; i++ )); do
    got=$(pixel "$1" "$2")
    [[ $got == "$3" ]] && return 0
    sleep 0.1
  done
  fail "$4: pixel $1,$2 is '$got', expected '$3'"
}
click() { xdotool mousemove --sync $((wx + $1)) $((wy + $2)) click 1; sleep 0.2; }

red="220 0 0"; green="0 160 0"; blue="0 0 220"; yellow="230 190 0"

# The page strip below the 430-pixel page: the third button shows the boxes.
click $((208 + 48)) $((430 + 4 + 17))
# The combo box's face shows the chosen item's picture at (23, 221): the circle.
expect_pixel 23 221 "$green" "the boxes page with the circle chosen"

# Mouse: drop the list (it opens below the face, 20-pixel rows from y 234) and choose
# the fourth item, the diamond.
click 110 221
click 70 $((234 + 3 * 20 + 10))
expect_pixel 23 221 "$yellow" "the diamond chosen with the mouse"

# Keyboard: the combo box has the focus; Up chooses the triangle.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key Up
expect_pixel 23 221 "$blue" "the triangle chosen with the keyboard"

# Wheel: one notch toward the user scrolls the list three rows; its first row's picture
# at (22, 36) turns from the square to the diamond.
expect_pixel 22 36 "$red" "the list box's first row before scrolling"
xdotool mousemove --sync $((wx + 100)) $((wy + 80)) click 5
expect_pixel 22 36 "$yellow" "the list box scrolled by the wheel"

echo "gallery boxes e2e: ok"
