#!/usr/bin/env bash
# What a listener hears: the real program clicks into a private PulseAudio server whose
# default output is a null sink, the sink's monitor is recorded, and bench/beat_onsets.py
# finds the clicks, fits the ideal beat grid and prints the measured tempo, the spread of
# the intervals, the largest deviation from the grid and missing beats. The program's CPU
# use (user + system from /proc/<pid>/stat over the recording) and peak memory (VmHWM)
# come with each run. Runs at 40, 120 and 208 bpm with the clicks placed on the beat, and
# at 120 and 208 bpm with METRONOME_PLAY_UNTIMED set (the click starts when the tick
# notices the beat), for comparison. A measurement, not a test: run it by hand, as root.
#
#   bench/beat_timing.sh [metronome binary (build-rel/bin/metronome)] [seconds (20)]
#
# With BEAT_TIMING_KEEP=<folder>, the recordings are kept there (<bpm>-<placed|untimed>.raw).
#
# PulseAudio runs in user mode (-n: no default script, only ours) with its runtime
# directory, state and socket in a temporary folder, so it touches nothing of the
# machine's. As root it only warns that it is "not intended to be run as root"; --system
# is not needed. Clients find it through PULSE_SERVER=unix:<socket>.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prog=${1:-$here/../build-rel/bin/metronome}
seconds=${2:-20}
rate=48000
[[ -x $prog ]] || { echo "no program at $prog" >&2; exit 1; }

missing=()
for pair in pulseaudio:pulseaudio parec:pulseaudio-utils pactl:pulseaudio-utils \
            Xvfb:xvfb xdotool:xdotool xdpyinfo:x11-utils python3:python3; do
  command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
if (( ${#missing[@]} )); then
  sudo=""; (( EUID != 0 )) && sudo=sudo
  $sudo apt-get install -y --no-install-recommends "${missing[@]}" || exit 1
fi

work=$(mktemp -d)
pa_pid=""; xvfb_pid=""; prog_pid=""; rec_pid=""
cleanup() {
  for p in "$rec_pid" "$prog_pid" "$xvfb_pid" "$pa_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# ---- PulseAudio with a null sink as the default output. --------------------------------
mkdir -p "$work/pulse" "$work/home"
cat >"$work/pulse/default.pa" <<EOF
load-module module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1
load-module module-null-sink sink_name=metronull rate=$rate channels=2
set-default-sink metronull
EOF
export HOME=$work/home XDG_RUNTIME_DIR=$work/pulse PULSE_RUNTIME_PATH=$work/pulse
export PULSE_SERVER=unix:$work/pulse/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  -F "$work/pulse/default.pa" >"$work/pulse.log" 2>&1 &
pa_pid=$!
for (( i = 0; i < 100; i++ )); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$pa_pid" 2>/dev/null || break
  sleep 0.1
done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start:" >&2; cat "$work/pulse.log" >&2; exit 1; }

# ---- Xvfb on a free display. ------------------------------------------------------------
fail() { echo "$*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/xvfb.sh"
start_xvfb 240 290
export SDL_AUDIODRIVER=pulseaudio
unset SDL_VIDEODRIVER

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"
hz=$(getconf CLK_TCK)
rows=()

# One run: $1 = tempo, $2 = label; METRONOME_PLAY_UNTIMED is taken from the caller.
measure() {
  local bpm=$1 label=$2 raw="$work/rec.raw" kind=placed
  [[ -n ${METRONOME_PLAY_UNTIMED:-} ]] && kind=untimed
  printf '[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=%s\nBeep=1\n' "$bpm" >"$ini"
  "$exe" >"$work/prog.log" 2>&1 &
  prog_pid=$!
  if ! timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1; then
    echo "the metronome's window did not appear" >&2; cat "$work/prog.log" >&2; exit 1
  fi
  sleep 0.5
  parec --raw --format=s16le --rate=$rate --channels=2 -d metronull.monitor >"$raw" &
  rec_pid=$!
  sleep 0.5
  # Run: the window is at 360,113; the button lies at (332..398, 51..77) inside it.
  xdotool mousemove --sync 725 177 click 1
  local c0 w0 c1 w1
  c0=$(awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"); w0=$(date +%s%N)
  sleep "$seconds"
  c1=$(awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"); w1=$(date +%s%N)
  kill -INT "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=""
  local peak
  peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$prog_pid/status")
  kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""
  local cpu
  cpu=$(awk -v c=$(( c1 - c0 )) -v hz="$hz" -v ns=$(( w1 - w0 )) \
    'BEGIN { printf "%.1f", 100 * c / hz / (ns / 1e9) }')
  echo "$label:"
  local out
  out=$(python3 "$here/beat_onsets.py" "$raw" "$rate" "$bpm" "$label")
  if [[ -n ${BEAT_TIMING_KEEP:-} ]]; then
    mkdir -p "$BEAT_TIMING_KEEP"
    cp "$raw" "$BEAT_TIMING_KEEP/$bpm-$kind.raw"
  fi
  grep -v '^ROW|' <<<"$out"
  echo "  CPU: $cpu % of one core, peak resident memory: $peak MB"
  rows+=("$(grep '^ROW|' <<<"$out" | sed 's/^ROW//') $cpu | $peak |")
}

for bpm in 40 120 208; do
  unset METRONOME_PLAY_UNTIMED
  measure "$bpm" "$bpm bpm, on the beat"
done
for bpm in 120 208; do
  export METRONOME_PLAY_UNTIMED=1
  measure "$bpm" "$bpm bpm, when the tick notices"
done
unset METRONOME_PLAY_UNTIMED

echo
echo "| run | clicks | measured tempo (bpm) | mean interval (ms) | std. dev. (ms) | largest deviation from grid (ms) | first click vs. grid (ms) | missing beats | CPU (% of a core) | peak memory (MB) |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
