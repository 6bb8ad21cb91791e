#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the metronome as Quit does: the same settings file is
# written (here with Beep switched on during the run), the status is 0, and the program
# is gone quickly. Each way of ending runs on the real program under Xvfb, during a run
# at 208 bpm with Beep on.
#
#   run_signals_e2e.sh METRONOME [LIMIT_MS]    LIMIT_MS: the longest allowed end (200)
#
# In a sanitized build the leak scan at exit alone takes about half a second, which is
# the sanitizer's and not the program's: it is switched off here (the start-stop test
# scans for leaks on the same ways out), and `make test` allows the slower debug build
# 500 ms.
set -u

prog=${1:?usage: run_signals_e2e.sh <metronome binary> [limit ms]}
limit=${2:-200}
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/err ]] && { echo "--- err ---" >&2; cat "$work/err" >&2; }
  [[ -f $ini ]] && { echo "--- settings ---" >&2; cat "$ini" >&2; }
  exit 1
}
source "$(dirname "${BASH_SOURCE[0]}")/metronome_common.sh"
start_xvfb 300 350

x=200 y=150
places $x $y
expected=$(settings $x $y 208 1)
for way in Quit TERM INT HUP; do
  settings $x $y 208 0 >"$ini"
  start
  sleep 0.3
  click "${beep_at[@]}"
  click "${run_at[@]}"
  sleep 0.8
  arm_watchdog 10
  t0=$(date +%s%N)
  if [[ $way == Quit ]]; then
    click "${quit_at[@]}"
  else
    kill -"$way" "$prog_pid"
  fi
  wait_end "$t0"
  [[ $status -eq 0 ]] || fail "after $way the program ended with status $status"
  [[ $(cat "$ini") == "$expected" ]] || fail "the settings written after $way are not those of Quit"
  echo "$way: ended in $ended_ms ms with status 0, settings as Quit writes them"
  if [[ $way != Quit ]] && (( ended_ms > limit )); then
    fail "SIG$way took $ended_ms ms to end the program (limit $limit ms)"
  fi
done
echo "signals e2e: all checks passed on $DISPLAY"
