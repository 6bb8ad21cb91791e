# Sourced by the end-to-end scripts and benchmarks: starts a private Xvfb server.
#
# start_xvfb: starts Xvfb on a display number that the server itself finds free (-displayfd:
# it takes the number by creating the display's lock file, so scripts running at the same
# time never share a server), waits until it answers, exports DISPLAY and sets xvfb_pid
# (the caller's cleanup kills it). Needs $work (a folder for the server's log and the
# number) and a `fail` function. Arguments, if any, are ignored. The screen is 1024 x 768
# unless XVFB_SCREEN names another (WIDTHxHEIGHTxDEPTH).
start_xvfb() {
  local i n=""
  xvfb_pid=""
  : >"$work/xvfb.display"
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$work/xvfb.display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for (( i = 0; i < 100; i++ )); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    n=$(head -n 1 "$work/xvfb.display" 2>/dev/null)
    if [[ -n $n ]] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    sleep 0.1
  done
  fail "could not start Xvfb: $(tail -n 5 "$work/xvfb.log")"
}
