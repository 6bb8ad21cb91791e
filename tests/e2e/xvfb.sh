# Sourced by the end-to-end scripts and benchmarks: starts a private Xvfb server.
#
# start_xvfb FIRST LAST: starts Xvfb on the first display from :FIRST to :LAST-1 whose
# server starts and answers, exports DISPLAY and sets xvfb_pid (the caller's cleanup kills
# it). Needs $work (a folder for the server's log) and a `fail` function.
start_xvfb() {
  local first=$1 last=$2 n i
  local found=""
  xvfb_pid=""
  for (( n = first; n < last; n++ )); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for (( i = 0; i < 100; i++ )); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        found=":$n"
        break
      fi
      sleep 0.1
    done
    [[ -n $found ]] && break
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  [[ -n $found ]] || fail "could not start Xvfb on any display from :$first to :$((last - 1))"
  export DISPLAY=$found
}
