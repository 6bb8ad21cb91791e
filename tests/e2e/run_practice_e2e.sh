#!/usr/bin/env bash
# The practice aids of the real program under Xvfb, driven with xdotool:
#
#   - bad options end with status 2, a message and the usage line on standard error, and
#     open no window;
#   - Space starts and stops the count as a click on Run does (a new run counts from 1
#     again), R resets it, B switches Beep; a session that only used these keys writes
#     exactly the four keys of the settings file;
#   - started with --tempo 90, T tapped every 500 ms shows "120 bpm" on the label (its
#     pixels equal those of a window that starts at 120) and 120 is saved;
#   - with Beep on and 4 beats per bar (keys B and 4) the clicks recorded from a private
#     PulseAudio server have the accent on clicks 0, 4 and 8 and keep one grid with the
#     beat clicks (bench/beat_onsets.py --accent 4: largest deviation at most 0.05 ms).
#
#   run_practice_e2e.sh METRONOME
set -u

prog=${1:?usage: run_practice_e2e.sh <metronome binary>}
fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/err ]] && { echo "--- program's standard error ---" >&2; tail -n 30 "$work/err" >&2; }
  [[ -f $ini ]] && { echo "--- settings ---" >&2; cat "$ini" >&2; }
  exit 1
}
source "$(dirname "${BASH_SOURCE[0]}")/metronome_common.sh"
source "$e2e_dir/screen.sh"
source "$e2e_dir/pulse.sh"
for cmd in pulseaudio pactl parec python3; do
  command -v "$cmd" >/dev/null || fail "$cmd is not installed (scripts/setup.sh installs it)"
done
pa_pid=""; rec_pid=""
stop_sound() {
  for p in "$rec_pid" "$pa_pid"; do
    [[ -n $p ]] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  cleanup
}
trap stop_sound EXIT
start_xvfb

# Starts the copy with arguments and waits until its window is mapped; sets prog_pid, wid.
start_with() {
  ( exec env --default-signal=TERM,INT,HUP "$exe" "$@" ) >"$work/out" 2>>"$work/err" &
  prog_pid=$!
  wid=$(timeout 15 xdotool search --sync --onlyvisible --pid "$prog_pid" 2>/dev/null | head -n 1)
  [[ -n $wid ]] || fail "the metronome's window did not appear"
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  sleep 0.3
}

quit() {
  click "${quit_at[@]}"
  arm_watchdog 10
  wait_end "$(date +%s%N)"
  [[ $status -eq 0 ]] || fail "the program ended with status $status"
}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Reads the count into $count: a run at 120 bpm that started between the clock values $1
# and $2 (ms) shows no fewer beats than since the later, no more than since the earlier.
check_count() {
  local before after lo hi
  before=$(now_ms)
  count=$(read_count "${disp[@]}")
  after=$(now_ms)
  [[ $count =~ ^[0-9]+$ ]] || fail "the display could not be read ($count)"
  lo=$(( (before - $2) * 120 / 60000 ))
  hi=$(( (after - $1) * 120 / 60000 ))
  (( lo < 0 )) && lo=0
  (( count >= lo && count <= hi )) || fail "$3: the count is $count, not within $lo..$hi"
}


x=360 y=113
places $x $y
run_led=(66 26 $((x + 332)) $((y + 51)))
beep_led=(66 26 $((x + 332)) $((y + 78)))
disp=($((x + 112)) $((y + 395)))
label=(308 56 $((x + 13)) $((y + 52)))

# ---- Bad options: status 2, the usage line, no window, no settings. -----------------------
for bad in "--tempo 300" "--tempo=abc" "--meter 0" "--bogus" "--run=yes" "--tempo"; do
  # shellcheck disable=SC2086
  timeout 20 "$exe" $bad >"$work/out" 2>"$work/bad-err"
  status=$?
  [[ $status -eq 2 ]] || fail "'$bad' ended with status $status, not 2"
  [[ -s $work/out ]] && fail "'$bad' wrote to standard output"
  grep -q '^Usage: metronome \[OPTION\]\.\.\.$' "$work/bad-err" || fail "'$bad' gave no usage line"
  grep -q '^metronome: ' "$work/bad-err" || fail "'$bad' gave no message"
done
[[ -e $ini ]] && fail "a refused command line wrote a settings file"

# ---- A session without the new features keeps the four keys. -----------------------------
start_with
click "${run_at[@]}"
sleep 0.7
click "${run_at[@]}"
quit
expected=$'[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=120\nBeep=0'
[[ $(cat "$ini") == "$expected" ]] || fail "a plain session did not write exactly the four keys"

# ---- Space, R and B. ------------------------------------------------------------------
start_with
pixels "${label[@]}" >"$work/label-120"
[[ $(read_count "${disp[@]}") == 0 ]] || fail "the display does not show 00000 at start"
s0=$(now_ms)
xdotool key space
s1=$(now_ms)
expect_led "${run_led[@]}" on 20 "Run after Space"
sleep 2.3
check_count "$s0" "$s1" "after Space"
(( count >= 4 )) || fail "after Space and 2.3 s the count is only $count"
xdotool key space
expect_led "${run_led[@]}" off 20 "Run after a second Space"
stopped=$(read_count "${disp[@]}")
sleep 0.8
[[ $(read_count "${disp[@]}") == "$stopped" ]] || fail "the count goes on after Space stopped the run"
# A new run counts from 1 again, as after a click on Run.
s0=$(now_ms)
xdotool key space
s1=$(now_ms)
sleep 0.8
check_count "$s0" "$s1" "after Space started a new run"
(( count < stopped )) || fail "the new run did not start its count again ($count after $stopped)"
xdotool key space
expect_led "${run_led[@]}" off 20 "Run"
(( $(read_count "${disp[@]}") > 0 )) || fail "the stopped run shows no count"
xdotool key r
sleep 0.3
[[ $(read_count "${disp[@]}") == 0 ]] || fail "R does not show 00000"
xdotool key b
expect_led "${beep_led[@]}" on 20 "Beep after B"
xdotool key b
expect_led "${beep_led[@]}" off 20 "Beep after a second B"
quit
[[ $(cat "$ini") == "$expected" ]] || fail "a session with Space, R and B did not write exactly the four keys"

# ---- T tapped every 500 ms. -------------------------------------------------------------
start_with --tempo 90
pixels "${label[@]}" >"$work/label-90"
cmp -s "$work/label-90" "$work/label-120" && fail "the label of --tempo 90 looks like that of 120"
# Five taps on a fixed schedule 500 ms apart (so xdotool's own time per key does not add
# up). On a busy machine a key may still come late; a measurement that missed is tried
# again after a pause that starts a new one.
tap_every_500ms() {
  local t0 i target now
  t0=$(date +%s%N)
  for i in 0 1 2 3 4; do
    target=$(( t0 + i * 500000000 ))
    now=$(date +%s%N)
    (( target > now )) && sleep "$(printf '0.%09d' $(( target - now )))"
    xdotool key t
  done
}
for attempt in 1 2 3; do
  tap_every_500ms
  sleep 0.3
  pixels "${label[@]}" >"$work/label-tapped"
  cmp -s "$work/label-tapped" "$work/label-120" && break
  echo "taps of attempt $attempt did not give 120 bpm; tapping again"
  (( attempt == 3 )) && fail "T tapped every 500 ms does not show 120 bpm"
  sleep 2.2
done
quit
grep -qx 'Tempo=120' "$ini" || fail "the tapped tempo was not saved"
grep -qi 'meter' "$ini" && fail "a session that set no meter wrote one"

# ---- Accented bars, recorded from a private sound server. ---------------------------------
rate=48000
setup_pulse $rate
start_pulse
export SDL_AUDIODRIVER=pulseaudio
start_with
xdotool key b 4
expect_led "${beep_led[@]}" on 20 "Beep after B"
parec --raw --format=s16le --rate=$rate --channels=2 --latency-msec=20 -d metronull.monitor >"$work/rec.raw" &
rec_pid=$!
# The recording must run before the first click: wait for 200 ms of it.
for (( i = 0; i < 100; i++ )); do
  (( $(stat -c %s "$work/rec.raw") >= rate * 4 / 5 )) && break
  sleep 0.05
done
xdotool key space
sleep 6.5
kill -INT "$rec_pid"; wait "$rec_pid" 2>/dev/null; rec_pid=""
quit
[[ $(cat "$ini") == "${expected%Beep=0}Beep=1"$'\nMeter=4' ]] || fail "4 beats per bar and Beep were not saved as expected"
result=$(python3 "$e2e_dir/../../bench/beat_onsets.py" "$work/rec.raw" $rate 120 accent --accent 4)
echo "$result" | grep -v '^ROW|\|^ACCENT|'
row=$(grep '^ROW|' <<<"$result")
accent=$(grep '^ACCENT|' <<<"$result")
# | label | clicks | tempo | mean | std. dev. | largest deviation | first | missing |
awk -F'|' '{ if ($3 + 0 < 9 || $7 + 0 > 0.05 || $9 + 0 > 0) exit 1 }' <<<"$row" \
  || fail "the clicks are off the grid: $row"
# | pattern | accent clicks | worst accent | worst beat |
awk -F'|' '{ gsub(/ /, "", $2); gsub(/ /, "", $3)
    if ($2 != "ok" || $3 !~ /^0,4,8(,|$)/ || $4 + 0 > 0.05 || $5 + 0 > 0.05) exit 1 }' <<<"$accent" \
  || fail "the accents are not on clicks 0, 4, 8 of one grid: $accent"
echo "practice e2e: passed ($accent)"
