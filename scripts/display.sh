# shellcheck shell=bash
# Sourced by scripts/wine-run and scripts/run: makes sure an X display answers.
#
#   source scripts/display.sh; translit_display || exit 1
#
# With DISPLAY set, that display must answer. With DISPLAY unset, the virtual
# display :$TRANSLIT_DISPLAY (default 91) is used, and a headless Xvfb is
# started on it unless one already answers there. The Xvfb is left running
# for the next program or test that needs it; its messages go to
# /tmp/.translit-xvfb-NUM.log.

translit_display() {
  if [ -n "${DISPLAY:-}" ]; then
    # A server that resets when its last client leaves refuses connections
    # for a moment while it does: ask more than once.
    for _ in $(seq 20); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    echo "The X display $DISPLAY does not answer; unset DISPLAY to use a virtual display." >&2
    return 1
  fi
  local num=${TRANSLIT_DISPLAY:-91}
  case $num in
    ''|*[!0-9]*) echo "TRANSLIT_DISPLAY must be a display number, not '$num'." >&2; return 1 ;;
  esac
  export DISPLAY=:$num
  local log=/tmp/.translit-xvfb-$num.log
  # One starter at a time: parallel tests must not race two servers onto
  # the same number.
  (
    flock 9
    xdpyinfo >/dev/null 2>&1 && exit 0
    # The server must not inherit the lock, or the next starter would wait
    # for as long as the server lives.
    # -noreset: without it the server starts over whenever its last client
    # leaves, and a connection made meanwhile is refused.
    setsid nohup Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$log" 2>&1 </dev/null 9>&- &
    local xpid=$!
    for _ in $(seq 100); do
      xdpyinfo >/dev/null 2>&1 && exit 0
      kill -0 "$xpid" 2>/dev/null || break
      sleep 0.1
    done
    echo "Xvfb did not start on display :$num; its messages:" >&2
    sed 's/^/  /' "$log" >&2
    exit 1
  ) 9>"/tmp/.translit-xvfb-$num.lock"
}
