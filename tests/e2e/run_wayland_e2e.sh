#!/usr/bin/env bash
# The metronome in a Wayland session without X11: a nested Weston compositor (its X11
# backend, software rendering) on a private Xvfb display, the program on Weston's socket
# with SDL's Wayland driver. The window must appear, run, and move when dragged by the
# frame and by the screw panel: a Wayland client cannot place its window, so the press is
# handed to the compositor's interactive move. The window's place is read from the
# screen (its red Quit face). Skipped, with a note, where Weston is not installed.
#
#   run_wayland_e2e.sh METRONOME
set -u
prog=${1:?usage: run_wayland_e2e.sh METRONOME}
fail() { echo "FAIL: $*" >&2; [[ -f $work/err ]] && tail -n 5 "$work/err" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/metronome_common.sh"

if ! command -v weston >/dev/null; then
  echo "weston is not installed (scripts/setup.sh installs it): Wayland test skipped"
  exit 0
fi

weston_pid=""
stop_weston() { [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null; }
trap 'stop_weston; cleanup' EXIT

start_xvfb
mkdir -p "$work/run" && chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run
weston --backend=x11-backend.so --use-pixman --width=1000 --height=700 --socket=metronome-e2e \
  --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for (( i = 0; i < 100; i++ )); do
  [[ -S $XDG_RUNTIME_DIR/metronome-e2e ]] && break
  kill -0 "$weston_pid" 2>/dev/null || fail "weston ended: $(tail -n 3 "$work/weston.log")"
  sleep 0.1
done
[[ -S $XDG_RUNTIME_DIR/metronome-e2e ]] || fail "weston did not open its socket"

# Where the Quit button's red face is on the screen, as "x y"; empty when it is not shown.
quit_face() {
  import -window root "$work/shot.png" 2>/dev/null || return
  convert "$work/shot.png" -fuzz 12% -fill black +opaque 'rgb(255,0,0)' -format '%@' info: 2>/dev/null \
    | sed -nE 's/^56x20\+([0-9]+)\+([0-9]+)$/\1 \2/p'
}

# Under the sanitizers: the Wayland client libraries, the decoration library and the GL
# driver that SDL loads keep allocations to the end (with stacks that unwind no further
# than the library), so the leak check is left to the other tests, which run the same
# program code.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
settings 100 100 120 0 >"$ini"
WAYLAND_DISPLAY=metronome-e2e SDL_VIDEODRIVER=wayland launch >"$work/out" 2>>"$work/err" &
prog_pid=$!
at=""
for (( i = 0; i < 100 && ${#at} == 0; i++ )); do
  kill -0 "$prog_pid" 2>/dev/null || fail "the program ended"
  sleep 0.1
  at=$(quit_face)
done
[[ -n $at ]] || fail "the window did not appear under Wayland"
read -r qx qy <<<"$at"
# The face lies at (337, 14) in the window.
wx=$((qx - 337)); wy=$((qy - 14))
echo "window shown at $wx,$wy"

# Running: the needle moves.
# Weston follows the X pointer from the moment it enters its window: one that was inside
# from the start is first taken out, else weston's pointer stays in its corner and the
# click lands on the panel's terminal launcher there.
xdotool mousemove --sync 1020 760
sleep 0.2
xdotool mousemove --sync $((wx + 365)) $((wy + 64))
sleep 0.3
xdotool click 1
sleep 1
import -window root "$work/a.png"
sleep 0.15
import -window root "$work/b.png"
changed=$(compare -metric AE "$work/a.png" "$work/b.png" /dev/null 2>&1)
(( ${changed%%.*} > 100 )) || fail "the window does not run under Wayland ($changed pixels changed)"
xdotool mousemove --sync $((wx + 365)) $((wy + 64)) click 1   # Run off again

drag() {
  local x=$1 y=$2; shift 2
  xdotool mousemove --sync "$x" "$y" mousedown 1
  while (( $# >= 2 )); do
    x=$((x + $1)); y=$((y + $2)); shift 2
    xdotool mousemove --sync "$x" "$y"
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
}
expect_at() {
  local want="$1 $2" got
  for (( i = 0; i < 20; i++ )); do
    got=$(quit_face)
    [[ $got == "$(($1 + 337)) $(($2 + 14))" ]] && return 0
    sleep 0.1
  done
  fail "the Quit face is at $got: the window was not moved to $want"
}
drag $((wx + 5)) $((wy + 200)) 10 7 10 7 10 7 10 7 10 6 10 6     # the frame
expect_at $((wx + 60)) $((wy + 40))
wx=$((wx + 60)); wy=$((wy + 40))
drag $((wx + 161)) $((wy + 39)) -5 -4 -5 -4 -5 -3 -5 -3 -5 -3 -5 -3   # the screw panel
expect_at $((wx - 30)) $((wy - 20))
echo "dragged by the frame and by the screw panel"

xdotool mousemove --sync $((wx - 30 + 366)) $((wy - 20 + 24)) click 1   # Quit
for (( i = 0; i < 50; i++ )); do
  kill -0 "$prog_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$prog_pid" 2>/dev/null && fail "Quit did not end the program"
wait "$prog_pid"
status=$?
prog_pid=""
(( status == 0 )) || fail "exit status $status"
echo "PASS"
