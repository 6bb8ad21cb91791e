# Sourced by the end-to-end scripts and benchmarks: a private PulseAudio server whose
# default output is a null sink named metronull (record its monitor, metronull.monitor).
#
# PulseAudio runs in user mode (-n: no default script, only ours) with its runtime
# directory, state and socket in $work/pulse, so it touches nothing of the machine's. As
# root it only warns that it is "not intended to be run as root". Clients find it through
# PULSE_SERVER=unix:<socket>.
#
# setup_pulse RATE: writes the server's script and exports the clients' environment.
# start_pulse: starts the server and sets pa_pid (the caller's cleanup kills it); the
# server can be stopped and started again at the same socket. Both need $work and `fail`.
setup_pulse() {
  mkdir -p "$work/pulse" "$work/home"
  cat >"$work/pulse/default.pa" <<EOF
load-module module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1
load-module module-null-sink sink_name=metronull rate=$1 channels=2
set-default-sink metronull
EOF
  export HOME=$work/home XDG_RUNTIME_DIR=$work/pulse PULSE_RUNTIME_PATH=$work/pulse
  export PULSE_SERVER=unix:$work/pulse/native
}

start_pulse() {
  local i
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -F "$work/pulse/default.pa" >>"$work/pulse.log" 2>&1 &
  pa_pid=$!
  for (( i = 0; i < 100; i++ )); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$pa_pid" 2>/dev/null || break
    sleep 0.1
  done
  fail "PulseAudio did not start: $(cat "$work/pulse.log")"
}
