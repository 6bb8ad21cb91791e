# Sourced by the metronome's end-to-end scripts: a private Xvfb display, a copy of the
# program in a temporary folder (so its settings file is the script's own), and helpers
# to start it, click its buttons and wait for its end. Needs $prog; sets $work, $exe,
# $ini; the caller's `fail` reports and exits, and cleanup runs on every exit path.

work=$(mktemp -d)
xvfb_pid=""
prog_pid=""
watchdog_pid=""

cleanup() {
  [[ -n $watchdog_pid ]] && kill "$watchdog_pid" 2>/dev/null
  [[ -n $prog_pid ]] && kill -KILL "$prog_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  [[ -n $prog_pid ]] && wait "$prog_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

for cmd in Xvfb xdotool xdpyinfo import; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$e2e_dir/xvfb.sh"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
unset SDL_VIDEODRIVER
export LSAN_OPTIONS="suppressions=$e2e_dir/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# The settings file of a window at (left, top) with a tempo and Beep 0 or 1, as Quit writes it.
settings() {
  printf '[Form.Position]\ntop=%d\nleft=%d\n[Config]\nTempo=%d\nBeep=%d\n' "$2" "$1" "$3" "$4"
}

# The program as a desktop or a terminal starts it, with the arguments given: a background
# job of a script would inherit SIGINT ignored.
launch() { exec env --default-signal=TERM,INT,HUP "$exe" "$@"; }

# Starts the copy with the arguments given and waits until its window is mapped; sets
# prog_pid and wid.
start() {
  launch "$@" >"$work/out" 2>>"$work/err" &
  prog_pid=$!
  wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
  [[ -n $wid ]] || fail "the metronome's window did not appear"
}

# Screen places of the buttons with the window at (x, y).
places() {
  local x=$1 y=$2
  run_at=($((x + 365)) $((y + 64)))
  beep_at=($((x + 365)) $((y + 91)))
  quit_at=($((x + 366)) $((y + 24)))
  lamp_at=($((x + 366)) $((y + 111)))
}

click() { xdotool mousemove --sync "$1" "$2" click 1; }

# Green of one screen pixel (0..255).
green_at() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[,:() ]+' '/^[0-9]/ { print $4 }'
}

# Arms a watchdog that kills the program after $1 seconds, so a hang cannot stall the test.
arm_watchdog() {
  ( sleep "$1"; kill -KILL "$prog_pid" 2>/dev/null ) &
  watchdog_pid=$!
}

# Waits for the program's end; sets status and ended_ms (milliseconds since $1, a
# `date +%s%N` reading).
wait_end() {
  wait "$prog_pid"
  status=$?
  ended_ms=$(( ($(date +%s%N) - $1) / 1000000 ))
  prog_pid=""
  kill "$watchdog_pid" 2>/dev/null
  wait "$watchdog_pid" 2>/dev/null
  watchdog_pid=""
}
