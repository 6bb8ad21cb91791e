#!/usr/bin/env bash
# The metronome on a high-density screen, on a private Xvfb display: with --scale 2 the
# window is 824 x 886 and every 2 x 2 block of it is the pixel of the window at scale 1;
# a click on the scaled Run key switches Run on and off; while the needle swings every
# block stays whole, and what the presents of changed blocks left equals a full present
# after an expose; a drag moves the window by the pointer's travel in screen pixels and
# Quit stores that position in screen pixels. The scale the desktop asks for: Xft.dpi 192
# in the X resources gives 2, GDK_SCALE overrides it, --scale overrides both. A bad
# --scale ends with status 2 and the usage line.
#
#   run_scale_e2e.sh METRONOME [DEPTH (24)]
# At another screen depth than 24 the window system's pixels have another layout, which
# the program converts to: only the pictures and the Run key are checked then.
set -u

prog=${1:?usage: run_scale_e2e.sh <metronome binary> [depth]}
depth=${2:-24}

fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/err ]] && { echo "--- err ---" >&2; tail -n 40 "$work/err" >&2; }
  [[ -f $ini ]] && { echo "--- settings ---" >&2; cat "$ini" >&2; }
  exit 1
}
source "$(dirname "${BASH_SOURCE[0]}")/metronome_common.sh"
source "$e2e_dir/screen.sh"
for cmd in xwininfo xprop compare convert; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done
XVFB_SCREEN=1280x1024x$depth start_xvfb
unset GDK_SCALE





# Quits through the Quit key at screen point $1 $2 and waits for the end (status 0).
quit_at_point() {
  arm_watchdog 10
  click "$1" "$2"
  wait_end "$(date +%s%N)"
  [[ $status -eq 0 ]] || fail "Quit ended the program with status $status"
}

# The pointer waits far from the window, so that no control under it is lit by hovering.
park_pointer() { xdotool mousemove --sync 1270 1010; }

x=20 y=20
settings $x $y 120 0 >"$ini"

# ---- Scale 1: the reference picture. -------------------------------------------------
park_pointer
start
expect_geometry "$wid" "$x $y 412 443"
sleep 0.5
import -window root -crop "412x443+$x+$y" +repage "$work/one.png" || fail "no capture at scale 1"
places $x $y
quit_at_point "${quit_at[@]}"

# ---- --scale 2: every 2 x 2 block is the pixel at scale 1. ---------------------------
park_pointer
start --scale 2
expect_geometry "$wid" "$x $y 824 886"
sleep 0.5
import -window root -crop "824x886+$x+$y" +repage "$work/two.png" || fail "no capture at scale 2"
# -sample repeats every pixel as a block, with no filtering.
convert "$work/one.png" -sample 200% "$work/expected.png"
differ=$(compare -metric AE "$work/expected.png" "$work/two.png" null: 2>&1)
[[ $differ == 0 ]] || fail "$differ pixels of the scaled window differ from the pixel at scale 1"
echo "scale 2: 824 x 886, every 2 x 2 block equal to the pixel at scale 1"

# The scaled Run key: its middle at twice the place of scale 1. Run lights its LED (66 x 26
# at 332, 51 at scale 1), then goes dark again.
places $x $y
run2=($((x + 2 * 365)) $((y + 2 * 64)))
run_led2=(132 52 $((x + 2 * 332)) $((y + 2 * 51)))
expect_led "${run_led2[@]}" off
click "${run2[@]}"
expect_led "${run_led2[@]}" on 80
# While the needle swings, only the changed blocks are presented; each stays whole.
sleep 1
import -window root -crop "824x886+$x+$y" +repage "$work/running.png" || fail "no capture of the run"
convert "$work/running.png" -sample 50% -sample 200% "$work/blocks.png"
differ=$(compare -metric AE "$work/blocks.png" "$work/running.png" null: 2>&1)
[[ $differ == 0 ]] || fail "$differ pixels of the running window are not in whole 2 x 2 blocks"
click "${run2[@]}"
expect_led "${run_led2[@]}" off
echo "scale 2: a click on the scaled Run key switches Run on and off"
# The needle stands where Run left it. What the changed blocks built up must equal what a
# full present sends: the window is moved half off the screen and back, and the server
# asks for the part that was off the screen again.
park_pointer
sleep 0.3
import -window root -crop "824x886+$x+$y" +repage "$work/stopped.png" || fail "no capture"
xdotool windowmove --sync "$wid" 900 "$y"
sleep 0.3
xdotool windowmove --sync "$wid" "$x" "$y"
expect_geometry "$wid" "$x $y 824 886"
sleep 0.5
import -window root -crop "824x886+$x+$y" +repage "$work/exposed.png" || fail "no capture"
differ=$(compare -metric AE "$work/stopped.png" "$work/exposed.png" null: 2>&1)
[[ $differ == 0 ]] || fail "$differ pixels differ after a full present: changed blocks were missed"
if (( depth != 24 )); then
  quit_at_point $((x + 2 * 366)) $((y + 2 * 24))
  echo "scale e2e at depth $depth passed on $DISPLAY"
  exit 0
fi

# A drag by the frame (5, 200 at scale 1) moves the window by the pointer's travel.
px=$((x + 10)) py=$((y + 400))
xdotool mousemove --sync "$px" "$py" mousedown 1
for step in 1 2 3 4 5 6; do
  px=$((px + 10)) py=$((py + 7))
  xdotool mousemove --sync "$px" "$py"
  sleep 0.05
done
xdotool mouseup 1
expect_geometry "$wid" "$((x + 60)) $((y + 42)) 824 886"
quit_at_point $((x + 60 + 2 * 366)) $((y + 42 + 2 * 24))
[[ $(cat "$ini") == "$(settings $((x + 60)) $((y + 42)) 120 0)" ]] ||
  fail "Quit did not store the position in screen pixels"
echo "scale 2: a drag moves the window by screen pixels; Quit stores them"

# ---- The desktop's scale. ------------------------------------------------------------
# The server forgets the root window's properties when its last client goes: a client
# stays connected while the resources are needed (it ends with the server).
xprop -root -spy _NONE >/dev/null 2>&1 &
sleep 0.3
settings $x $y 120 0 >"$ini"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.antialias:\t1\nXft.dpi:\t192\n' ||
  fail "cannot set the X resources"
[[ $(xprop -root RESOURCE_MANAGER) == *Xft.dpi* ]] || fail "the X resources were not kept"
park_pointer
start
expect_geometry "$wid" "$x $y 824 886"
quit_at_point $((x + 2 * 366)) $((y + 2 * 24))
echo "Xft.dpi 192: scale 2"

park_pointer
GDK_SCALE=1 start
expect_geometry "$wid" "$x $y 412 443"
quit_at_point "${quit_at[@]}"
echo "Xft.dpi 192, GDK_SCALE=1: scale 1"

park_pointer
GDK_SCALE=2 start --scale=1
expect_geometry "$wid" "$x $y 412 443"
quit_at_point "${quit_at[@]}"
echo "Xft.dpi 192, GDK_SCALE=2, --scale=1: scale 1"

# ---- A bad scale: refused before any window opens. ----------------------------------
for bad in 0 5 x 1.5 ""; do
  status=0
  "$exe" --scale "$bad" >"$work/out" 2>"$work/bad" || status=$?
  [[ $status -eq 2 ]] || fail "--scale '$bad' ended with status $status, not 2"
  grep -q "^Usage: metronome" "$work/bad" || fail "--scale '$bad' printed no usage line"
  [[ -s $work/out ]] && fail "--scale '$bad' printed on standard output"
done
echo "a bad --scale: status 2 with the usage line"
echo "scale e2e passed on $DISPLAY"
