#!/usr/bin/env bash
# A long run of the real program: 208 bpm with Beep on, under Xvfb, clicking into a
# private PulseAudio server with a null sink (set up as in bench/beat_timing.sh). Every
# 10 s the program's resident memory (VmRSS) and open descriptors are sampled; at the end
# Run is switched off, the beat count is read from the window's seven-segment display
# and compared with the beats that the elapsed time between the Run clicks holds. Prints
# the samples, memory and descriptor growth after the first minute, and the count
# against the elapsed beats. A measurement, not a test: run it by hand, as root.
#
#   bench/soak.sh MINUTES [metronome binary (build-rel/bin/metronome)]
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
minutes=${1:?usage: bench/soak.sh MINUTES [metronome binary]}
prog=${2:-$here/../build-rel/bin/metronome}
bpm=208
rate=48000
[[ -x $prog ]] || { echo "no program at $prog" >&2; exit 1; }

missing=()
for pair in pulseaudio:pulseaudio pactl:pulseaudio-utils Xvfb:xvfb xdotool:xdotool \
            xdpyinfo:x11-utils import:imagemagick; do
  command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
if (( ${#missing[@]} )); then
  sudo=""; (( EUID != 0 )) && sudo=sudo
  $sudo apt-get install -y --no-install-recommends "${missing[@]}" || exit 1
fi

work=$(mktemp -d)
pa_pid=""; xvfb_pid=""; prog_pid=""
cleanup() {
  for p in "$prog_pid" "$xvfb_pid" "$pa_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() { echo "$*" >&2; exit 1; }

# ---- PulseAudio with a null sink as the default output. --------------------------------
source "$here/../tests/e2e/pulse.sh"
setup_pulse "$rate"
start_pulse

# ---- Xvfb and the program. ---------------------------------------------------------------
source "$here/../tests/e2e/xvfb.sh"
start_xvfb
export SDL_AUDIODRIVER=pulseaudio
unset SDL_VIDEODRIVER

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
printf '[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=%d\nBeep=1\n' "$bpm" >"$work/bin/metronome.ini"
"$work/bin/metronome" >"$work/prog.log" 2>&1 &
prog_pid=$!
timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1 ||
  { cat "$work/prog.log" >&2; fail "the metronome's window did not appear"; }
sleep 1

# The window is at 360,113: Run at (725, 177), the display's cells from (472, 508).
run_x=725 run_y=177
disp_x=472 disp_y=508

# The number on the five-digit display, as the end-to-end test reads it.
source "$here/../tests/e2e/screen.sh"

sample() {
  local rss fds
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$prog_pid/status" 2>/dev/null)
  fds=$(ls "/proc/$prog_pid/fd" 2>/dev/null | wc -l)
  echo "$1 ${rss:-0} $fds"
}

xdotool mousemove --sync "$run_x" "$run_y" click 1
t_on=$(date +%s%N)
echo "soak: $minutes min at $bpm bpm, Beep on, program $prog (pid $prog_pid)"
echo "  s     RSS kB   fds"
samples=()
end=$(( t_on + minutes * 60 * 1000000000 ))
next=$t_on
while :; do
  now=$(date +%s%N)
  (( now >= end )) && break
  if (( now >= next )); then
    kill -0 "$prog_pid" 2>/dev/null || { cat "$work/prog.log" >&2; fail "the program ended during the soak"; }
    s=$(sample $(( (now - t_on) / 1000000000 )))
    samples+=("$s")
    printf '  %-5s %-8s %s\n' $s
    next=$(( next + 10000000000 ))
  fi
  sleep 0.2
done
# The pointer is still on Run: a --sync move to where it already is would wait for a
# motion that never comes.
xdotool click 1
t_off=$(date +%s%N)
samples+=("$(sample $(( (t_off - t_on) / 1000000000 )))")
sleep 0.5
count=$(read_count "$disp_x" "$disp_y")
streams=$(pactl list short sink-inputs 2>/dev/null | wc -l)
cpu=$(awk '{ printf "%.1f", ($14 + $15) / '"$(getconf CLK_TCK)"' }' "/proc/$prog_pid/stat")

# The display counts the whole beat periods since Run (the first beat one period after it).
elapsed_ms=$(( (t_off - t_on) / 1000000 ))
expected=$(awk -v ms="$elapsed_ms" -v bpm="$bpm" 'BEGIN { printf "%d", int(ms * bpm / 60000) }')
printf '%s\n' "${samples[@]}" | awk -v count="$count" -v expected="$expected" -v ms="$elapsed_ms" -v cpu="$cpu" -v streams="$streams" '
  { t[NR] = $1; rss[NR] = $2; fd[NR] = $3 }
  END {
    for (i = 1; i <= NR; i++) if (t[i] >= 60) { first = i; break }
    if (!first) first = NR
    lo = hi = rss[first]; flo = fhi = fd[first]
    for (i = first; i <= NR; i++) {
      if (rss[i] < lo) lo = rss[i]; if (rss[i] > hi) hi = rss[i]
      if (fd[i] < flo) flo = fd[i]; if (fd[i] > fhi) fhi = fd[i]
    }
    printf "resident memory: %.1f MB at %d s, %.1f MB at %d s (growth %+.1f MB; range after the first minute %.1f..%.1f MB)\n",
      rss[first] / 1024, t[first], rss[NR] / 1024, t[NR], (rss[NR] - rss[first]) / 1024, lo / 1024, hi / 1024
    printf "open descriptors: %d at %d s, %d at %d s (range after the first minute %d..%d)\n",
      fd[first], t[first], fd[NR], t[NR], flo, fhi
    printf "beat count: %s shown, %d elapsed beats in %.3f s of run (difference %s)\n",
      count, expected, ms / 1000, (count ~ /^[0-9]+$/) ? sprintf("%+d", count - expected) : "unreadable"
    printf "CPU time used: %s s; sound streams open on the server at the end: %d\n", cpu, streams
  }'
kill -TERM "$prog_pid"; wait "$prog_pid" 2>/dev/null; prog_pid=""
