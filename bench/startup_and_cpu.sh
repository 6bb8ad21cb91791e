#!/usr/bin/env bash
# Two measurements of the real program on a private Xvfb display:
#   1. the time from starting the process to its window being shown (the window is
#      mapped only after its first frame has been composed and presented), over 10 starts,
#      polled every few milliseconds (so the figure is high by up to one poll);
#   2. the process's CPU use while running at 208 bpm with Beep on, over 20 s, from
#      /proc/<pid>/stat (user + system time), as a share of one core.
# The program runs as a copy in a temporary folder with its own settings file.
#
#   bench/startup_and_cpu.sh build/bin/metronome
set -u

prog=${1:?usage: startup_and_cpu.sh <metronome binary> [seconds]}
seconds=${2:-20}
work=$(mktemp -d)
xvfb_pid=""
prog_pid=""
cleanup() {
  [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null && wait "$prog_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"

fail() { echo "$*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/xvfb.sh"
start_xvfb 190 240
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# ---- 1. Start-up to the first shown frame. ------------------------------------------
times=()
for (( run = 0; run < 10; run++ )); do
  rm -f "$ini"
  t0=$(date +%s%N)
  "$exe" >/dev/null 2>&1 &
  prog_pid=$!
  # Polled every few milliseconds: xdotool's own --sync waits in half-second steps.
  until xdotool search --onlyvisible --pid "$prog_pid" >/dev/null 2>&1; do
    sleep 0.002
  done
  t1=$(date +%s%N)
  times+=( $(( (t1 - t0) / 1000 )) )
  kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start-up to first shown frame (us, 10 runs): $(echo $sorted)"
echo "  median: $(echo "$sorted" | sed -n 5p) us, best: $(echo "$sorted" | head -n 1) us"

# ---- 2. CPU while running at 208 bpm with Beep on. ----------------------------------
printf '[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=208\nBeep=1\n' >"$ini"
"$exe" >/dev/null 2>&1 &
prog_pid=$!
xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1
sleep 0.5
xdotool mousemove --sync 725 177 click 1   # Run
sleep 1
hz=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"; }
c0=$(cpu); w0=$(date +%s%N)
sleep "$seconds"
c1=$(cpu); w1=$(date +%s%N)
awk -v c=$(( c1 - c0 )) -v hz="$hz" -v ns=$(( w1 - w0 )) \
  'BEGIN { s = ns / 1e9; printf "CPU at 208 bpm with Beep on: %.2f s in %.1f s = %.1f %% of one core\n", c / hz, s, 100 * c / hz / s }'
peak=$(awk '/VmHWM/ { print $2, $3 }' "/proc/$prog_pid/status")
echo "peak resident memory: $peak"
kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""
