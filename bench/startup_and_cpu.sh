#!/usr/bin/env bash
# The cost of leaving the metronome open, measured on the real program on a private Xvfb
# display, with a private PulseAudio server (null sink) when pulseaudio is installed, else
# SDL's dummy audio driver. Five figures:
#   1. start-up: process start to the window shown (it is mapped only after its first
#      frame has been composed and presented), over 20 starts, as the X server reports
#      the map to map_wait (else polled every 2 ms); the median and the best;
#   2. CPU while running at 208 bpm with Beep on, over SECONDS, from /proc/<pid>/stat (user
#      + system time of all threads) as a share of one core;
#   3. CPU while idle (window open, Run off) with Beep on and with Beep off, the same way;
#   4. one running tick in metronome_bench (from the same build folder, when it is there):
#      its CPU time and heap allocations at 40, 120 and 208 bpm; and what presenting a
#      running tick sends the X server: the bytes written to its socket (strace, 2 s);
#   5. peak resident memory (VmHWM) of the running program.
# Beside them, what this machine asks of any program before it does its own work: the CPU
# of a 10 ms tick with nothing drawn (wake_bench, from the same build folder), the CPU the
# program has used when its first frame shows, and how much of its resident memory is the
# program file, the shared libraries and the fonts it maps.
# The program runs as a copy in a temporary folder with its own settings file.
#
#   bench/startup_and_cpu.sh [metronome binary (build-rel/bin/metronome)] [SECONDS (60)]
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prog=${1:-$here/../build-rel/bin/metronome}
seconds=${2:-60}
[[ -x $prog ]] || { echo "no program at $prog" >&2; exit 1; }
bench="$(dirname "$prog")/metronome_bench"
wake_bench="$(dirname "$prog")/wake_bench"

work=$(mktemp -d)
xvfb_pid=""; prog_pid=""; pa_pid=""; mapper_pid=""
cleanup() {
  for p in "$prog_pid" "$xvfb_pid" "$pa_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

mkdir -p "$work/bin" "$work/home"
cp "$prog" "$work/bin/metronome"
exe="$work/bin/metronome"
ini="$work/bin/metronome.ini"

fail() { echo "$*" >&2; exit 1; }
source "$here/../tests/e2e/xvfb.sh"
start_xvfb
unset SDL_VIDEODRIVER

# ---- Sound: a private PulseAudio server with a null sink, else no device. --------------
audio="SDL dummy audio driver (no pulseaudio installed)"
if command -v pulseaudio >/dev/null && command -v pactl >/dev/null; then
  mkdir -p "$work/pulse"
  cat >"$work/pulse/default.pa" <<EOF
load-module module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1
load-module module-null-sink sink_name=metronull rate=48000 channels=2
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
  if pactl info >/dev/null 2>&1; then
    audio="private PulseAudio server, null sink"
    export SDL_AUDIODRIVER=pulseaudio
  else
    kill "$pa_pid" 2>/dev/null; wait "$pa_pid" 2>/dev/null; pa_pid=""
  fi
fi
[[ -z $pa_pid ]] && export SDL_AUDIODRIVER=dummy
echo "display $DISPLAY, sound: $audio, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

hz=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$prog_pid/stat"; }
# CPU share of the running program over $seconds, printed after the label $1.
measure_cpu() {
  local c0 c1 w0 w1
  c0=$(cpu); w0=$(date +%s%N)
  sleep "$seconds"
  c1=$(cpu); w1=$(date +%s%N)
  awk -v c=$(( c1 - c0 )) -v hz="$hz" -v ns=$(( w1 - w0 )) -v label="$1" \
    'BEGIN { s = ns / 1e9; printf "%s: %.2f s of CPU in %.1f s = %.2f %% of one core\n", label, c / hz, s, 100 * c / hz / s }'
}
start_program() {
  printf '[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=%s\nBeep=%s\n' "$1" "$2" >"$ini"
  "$exe" >/dev/null 2>&1 &
  prog_pid=$!
  xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1
  sleep 1
}
stop_program() { kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""; }

# ---- 1. Start-up to the first shown frame. ------------------------------------------
# map_wait (built beside the program) starts it and hears the server map its window, with
# no polling; without it the window is looked for every 2 ms, which itself costs the start
# CPU and server time (a process and a connection per look) and reads late by up to a look.
map_wait="$(dirname "$prog")/map_wait"
times=()
cpus=()
# Under such a storm of short connections Xvfb now and then refuses one ("unable to open
# display", plain xdpyinfo too); a start whose program found no display is made again.
refused=0
for (( run = 0; run < 20; run++ )); do
  rm -f "$ini"
  if [[ -x $map_wait ]]; then
    method="map_wait: fork to the window's map, heard from the server"
    # map_wait stays the program's parent until it ends: read its figure as it comes.
    coproc mapper { "$map_wait" "$exe" 2>/dev/null; }
    mapper_pid=$mapper_PID
    if read -r -u "${mapper[0]}" out; then prog_pid=${out%% *}; else out=""; prog_pid=""; fi
  else
    method="polled every 2 ms with xdotool (build map_wait for the exact figure)"
    t0=$(date +%s%N)
    "$exe" >/dev/null 2>&1 &
    prog_pid=$!
    # Polled every few milliseconds: xdotool's own --sync waits in half-second steps.
    until xdotool search --onlyvisible --pid "$prog_pid" >/dev/null 2>&1; do
      kill -0 "$prog_pid" 2>/dev/null || break
      sleep 0.002
    done
    kill -0 "$prog_pid" 2>/dev/null && out="$prog_pid $(( ($(date +%s%N) - t0) / 1000 ))" || out=""
  fi
  if [[ -z $out ]]; then
    [[ -n $prog_pid ]] && wait "$prog_pid" 2>/dev/null
    [[ -n $mapper_pid ]] && wait "$mapper_pid" 2>/dev/null
    prog_pid=""; mapper_pid=""
    refused=$(( refused + 1 ))
    (( refused < 10 )) || { echo "the program keeps ending before its window appears" >&2; exit 1; }
    run=$(( run - 1 ))
    continue
  fi
  times+=( "${out##* }" )
  # Every thread's run time so far, in nanoseconds.
  cpus+=( $(cat /proc/$prog_pid/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print int(s / 1000) }') )
  kill -TERM "$prog_pid"
  # map_wait's program is map_wait's child: map_wait ends once it has ended.
  if [[ -n $mapper_pid ]]; then
    wait "$mapper_pid" 2>/dev/null
  else
    wait "$prog_pid" 2>/dev/null
  fi
  prog_pid=""; mapper_pid=""
done
(( refused )) && echo "($refused starts found no display and were made again)"
echo "start-up measured by $method"
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "start-up to first shown frame (us, 20 runs): $(echo $sorted)"
echo "  median: $(echo "$sorted" | sed -n 10,11p | awk '{ s += $1 } END { printf "%d", s / 2 }') us, best: $(echo "$sorted" | head -n 1) us"
sorted=$(printf '%s\n' "${cpus[@]}" | sort -n)
echo "  CPU used by then: median $(echo "$sorted" | sed -n 10,11p | awk '{ s += $1 } END { printf "%d", s / 2 }') us, least $(echo "$sorted" | head -n 1) us"

# ---- 2. Running at 208 bpm with Beep on; 5. its peak memory. -------------------------
start_program 208 1
xdotool mousemove --sync 725 177 click 1   # Run
sleep 1
measure_cpu "running at 208 bpm with Beep on"
if command -v strace >/dev/null; then
  # What presenting sends: every write to the X socket over 2 s, at 100 ticks a second.
  timeout 2 strace -f -qq -e trace=writev,write -e signal=none -p "$prog_pid" -o "$work/strace" 2>/dev/null
  awk '/writev\(/ { n++; s += $NF } END { printf "  to the X server while running: %d writes, %.0f bytes per tick\n", n, s / 200 }' "$work/strace"
fi
echo "peak resident memory: $(awk '/VmHWM/ { print $2, $3 }' "/proc/$prog_pid/status")"
awk '/RssAnon/ { a = $2 } /RssFile/ { f = $2 } END { printf "  resident now: %d kB of the program'"'"'s own data, %d kB of its program file, libraries and fonts\n", a, f }' "/proc/$prog_pid/status"
stop_program

# ---- 3. Idle: window open, Run off. ---------------------------------------------------
for beep in 1 0; do
  start_program 120 "$beep"
  measure_cpu "idle, Run off, Beep $([[ $beep == 1 ]] && echo on || echo off)"
  stop_program
done

# ---- 4. One running tick (headless, manual clock). -------------------------------------
if [[ -x $bench ]]; then
  "$bench" --benchmark_filter=RunningTick --benchmark_min_time=2 --benchmark_counters_tabular=true 2>/dev/null \
    | awk '/^BM_RunningTick/ { split($1, n, "/"); printf "one running tick at %s bpm: %s %s CPU, %s heap allocations, %s pixels presented\n", n[2], $4, $5, $7, $9 }'
else
  echo "one running tick: $bench not built (configure with -DMETRONOME_BENCH=ON)"
fi

# ---- What the machine asks of any program. ----------------------------------------------
if [[ -x $wake_bench ]]; then
  "$wake_bench" --benchmark_counters_tabular=true 2>/dev/null \
    | awk '/^BM_/ { split($1, n, "/"); sub("BM_", "", n[1]); printf "a 10 ms tick with nothing drawn, %s: %s us of CPU per tick = %.2f %% of one core\n", n[1], $7, $8 }'
fi
