#!/usr/bin/env bash
# What a listener hears: the real program clicks into a private PulseAudio server whose
# default output is a null sink, the sink's monitor is recorded, and bench/beat_onsets.py
# finds the clicks, fits the ideal beat grid and prints the measured tempo, the spread of
# the intervals, the largest deviation from the grid, the first click against the grid and
# missing beats. The program's CPU use (user + system from /proc/<pid>/stat over the
# recording) and peak memory (VmHWM) come with each run. Three passes at 40, 120 and 208 bpm:
#
#   idle     nothing else runs (as far as the machine allows);
#   load     both cores kept busy by two shell loops that the script starts and stops;
#   clients  the recording starts after Run, and halfway through another playback client
#            (pacat asking for 5 ms latency) connects for a few seconds and leaves.
#
# Before the passes, the program runs once with Beep off: no sink input may exist and no
# audio thread may run. A measurement, not a test: run it by hand, as root.
#
#   bench/beat_timing.sh [metronome binary (build-rel/bin/metronome)] [seconds (60)]
#
# With BEAT_TIMING_KEEP=<folder>, the recordings are kept there (<pass>-<bpm>.raw);
# BEAT_TIMING_PASSES picks passes (default "idle load clients"), BEAT_TIMING_TEMPOS the
# tempos (default "40 120 208"). BEAT_TIMING_ACCENT=N sets N beats per bar (Meter=N), so
# the first click of every bar is the accent: the clicks are then measured by their exact
# first frame, told apart, and checked to hold one grid with the accent on every N-th.
#
# The private server is tests/e2e/pulse.sh's: user mode, everything in a temporary folder.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prog=${1:-$here/../build-rel/bin/metronome}
seconds=${2:-60}
passes=${BEAT_TIMING_PASSES:-idle load clients}
tempos=${BEAT_TIMING_TEMPOS:-40 120 208}
accent=${BEAT_TIMING_ACCENT:-}
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
pa_pid=""; xvfb_pid=""; prog_pid=""; rec_pid=""; load_pids=(); client_pid=""
cleanup() {
  for p in "${load_pids[@]}" "$client_pid" "$rec_pid" "$prog_pid" "$xvfb_pid" "$pa_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# ---- PulseAudio with a null sink as the default output. --------------------------------
fail() { echo "$*" >&2; exit 1; }
source "$here/../tests/e2e/pulse.sh"
setup_pulse $rate
start_pulse

# ---- Xvfb on a free display. ------------------------------------------------------------
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/xvfb.sh"
start_xvfb
export SDL_AUDIODRIVER=pulseaudio
unset SDL_VIDEODRIVER

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"
hz=$(getconf CLK_TCK)
rows=()

start_program() {
  printf '[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=%s\nBeep=%s\n' "$1" "$2" >"$ini"
  [[ -n $accent ]] && printf 'Meter=%s\n' "$accent" >>"$ini"
  "$exe" >"$work/prog.log" 2>&1 &
  prog_pid=$!
  if ! timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1; then
    echo "the metronome's window did not appear" >&2; cat "$work/prog.log" >&2; exit 1
  fi
  sleep 0.5
}

stop_program() {
  kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""
}

# Run: the window is at 360,113; the button lies at (332..398, 51..77) inside it.
click_run() { xdotool mousemove --sync 725 177 click 1; }

start_recording() {
  parec --raw --format=s16le --rate=$rate --channels=2 -d metronull.monitor >"$1" &
  rec_pid=$!
}

# With Beep off nothing may sound: no stream at the server, no audio thread running.
check_silent_when_beep_off() {
  start_program 120 0
  click_run
  sleep 2
  local inputs threads
  inputs=$(pactl list short sink-inputs | wc -l)
  threads=$(ls "/proc/$prog_pid/task" | wc -l)
  stop_program
  echo "Beep off, running: $inputs sink inputs at the server, $threads threads in the program"
}

# One run: $1 = pass, $2 = tempo.
measure() {
  local pass=$1 bpm=$2 raw="$work/rec.raw" label="$2 bpm, $1"
  start_program "$bpm" 1
  if [[ $pass == clients ]]; then
    click_run
    sleep 1.3
    start_recording "$raw"
  else
    start_recording "$raw"
    sleep 0.5
    click_run
  fi
  local c0 w0 c1 w1
  c0=$(awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"); w0=$(date +%s%N)
  if [[ $pass == clients ]]; then
    sleep "$(( seconds / 2 ))"
    pacat -p --latency-msec=5 /dev/zero >/dev/null 2>&1 &
    client_pid=$!
    sleep 4
    kill "$client_pid" 2>/dev/null; wait "$client_pid" 2>/dev/null; client_pid=""
    sleep "$(( seconds - seconds / 2 - 4 ))"
  else
    sleep "$seconds"
  fi
  c1=$(awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"); w1=$(date +%s%N)
  kill -INT "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=""
  local peak
  peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$prog_pid/status")
  stop_program
  local cpu
  cpu=$(awk -v c=$(( c1 - c0 )) -v hz="$hz" -v ns=$(( w1 - w0 )) \
    'BEGIN { printf "%.1f", 100 * c / hz / (ns / 1e9) }')
  echo "$label:"
  local out
  out=$(python3 "$here/beat_onsets.py" "$raw" "$rate" "$bpm" "$label" ${accent:+--accent "$accent"})
  if [[ -n ${BEAT_TIMING_KEEP:-} ]]; then
    mkdir -p "$BEAT_TIMING_KEEP"
    cp "$raw" "$BEAT_TIMING_KEEP/$pass-$bpm.raw"
  fi
  grep -v '^ROW|\|^ACCENT|' <<<"$out"
  echo "  CPU: $cpu % of one core, peak resident memory: $peak MB"
  rows+=("$(grep '^ROW|' <<<"$out" | sed 's/^ROW//') $cpu | $peak |")
}

check_silent_when_beep_off
for pass in $passes; do
  if [[ $pass == load ]]; then
    for i in 1 2; do
      sh -c 'while :; do :; done' &
      load_pids+=($!)
    done
  fi
  for bpm in $tempos; do
    measure "$pass" "$bpm"
  done
  if (( ${#load_pids[@]} )); then
    kill "${load_pids[@]}" 2>/dev/null; wait "${load_pids[@]}" 2>/dev/null
    load_pids=()
  fi
done

echo
echo "| run | clicks | measured tempo (bpm) | mean interval (ms) | std. dev. (ms) | largest deviation from grid (ms) | first click vs. grid (ms) | missing beats | CPU (% of a core) | peak memory (MB) |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
