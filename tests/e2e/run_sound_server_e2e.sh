#!/usr/bin/env bash
# The sound server may come and go: the metronome runs at 208 bpm with Beep on while no
# server exists (it says so in one line and runs silent), then a private PulseAudio server
# starts and the clicks must come on the grid within 2 s; the server is killed and started
# again, and the clicks must come back, again on the grid, without a restart of the
# program. The clicks are recorded from the null sink's monitor and measured with
# bench/beat_onsets.py. Xvfb, the server and the program are stopped on every path.
set -u

prog=${1:?usage: run_sound_server_e2e.sh <metronome binary>}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rate=48000
work=$(mktemp -d)
xvfb_pid=""; pa_pid=""; prog_pid=""; rec_pid=""

cleanup() {
  for p in "$rec_pid" "$prog_pid" "$pa_pid" "$xvfb_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/err ]] && { echo "--- program's standard error ---" >&2; cat "$work/err" >&2; }
  exit 1
}

for cmd in Xvfb xdotool xdpyinfo pulseaudio pactl parec python3; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done

source "$here/xvfb.sh"
source "$here/pulse.sh"
start_xvfb 290 340
setup_pulse $rate
export SDL_AUDIODRIVER=pulseaudio
unset SDL_VIDEODRIVER
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

mkdir -p "$work/bin"
cp "$prog" "$work/bin/metronome"
printf '[Form.Position]\ntop=100\nleft=100\n[Config]\nTempo=208\nBeep=1\n' >"$work/bin/metronome.ini"

# Records $1 seconds and checks that the clicks keep the 208 bpm grid.
expect_clicks_on_grid() {
  local raw="$work/rec.raw" row
  parec --raw --format=s16le --rate=$rate --channels=2 -d metronull.monitor >"$raw" &
  rec_pid=$!
  sleep "$1"
  kill -INT "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=""
  row=$(python3 "$here/../../bench/beat_onsets.py" "$raw" $rate 208 check | grep '^ROW|')
  # | label | clicks | tempo | mean | std. dev. | largest deviation | first | missing |
  awk -F'|' -v want="$2" '{
      clicks = $3 + 0; worst = $7 + 0; missing = $9 + 0
      if (clicks < want || worst > 0.05 || missing > 0) {
        printf "%d clicks (at least %d wanted), largest deviation %s ms, %d missing\n",
          clicks, want, $7, missing
        exit 1
      }
    }' <<<"$row" || fail "the clicks after $3 are off the grid: $row"
  echo "after $3:$row"
}

"$work/bin/metronome" >"$work/out" 2>"$work/err" &
prog_pid=$!
timeout 20 xdotool search --sync --onlyvisible --pid "$prog_pid" >/dev/null 2>&1 \
  || fail "the metronome's window did not appear"
sleep 0.5
# Run: the window is at 100,100; the button lies at (332..398, 51..77) inside it.
xdotool mousemove --sync 465 164 click 1
sleep 1
kill -0 "$prog_pid" 2>/dev/null || fail "the program ended without a sound server"
lines=$(grep -c . "$work/err")
grep -q '^no sound output' "$work/err" && [[ $lines -eq 1 ]] \
  || fail "without a sound server, standard error should hold one line saying so"

start_pulse
sleep 2
expect_clicks_on_grid 3 9 "the server started"

kill -KILL "$pa_pid"; wait "$pa_pid" 2>/dev/null; pa_pid=""
sleep 1
kill -0 "$prog_pid" 2>/dev/null || fail "the program ended with its sound server"
start_pulse
sleep 2
expect_clicks_on_grid 3 9 "the server came back"

kill -TERM "$prog_pid"
for (( i = 0; i < 50; i++ )); do
  kill -0 "$prog_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$prog_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
wait "$prog_pid"; status=$?; prog_pid=""
[[ $status -eq 0 ]] || fail "the program ended with status $status"
echo "sound server e2e: passed"
