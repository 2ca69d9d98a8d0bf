# Sourced by the end-to-end scripts: a scratch folder, cleanup of every
# process started, and a private Xvfb on a display number it picks itself.
#   require_programs PROGRAM...   skips (77) without Xvfb, fails without the rest
#   start_xvfb WxH                starts Xvfb and exports DISPLAY
#   wait_for FILE REGEX           waits up to 10 s for a matching line
#   fail MESSAGE                  prints the message and every log, exits 1
# Processes started in the background go into `pids` to be ended on exit.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "e2e: FAILED: $*"
  for log in "$work"/*.log; do echo "--- $log"; cat "$log"; done
  exit 1
}

require_programs() {
  if ! command -v Xvfb >/dev/null; then
    echo "e2e: Xvfb is not installed; skipped"
    exit 77
  fi
  local program
  for program in "$@"; do
    command -v "$program" >/dev/null || { echo "e2e: $program is missing"; exit 1; }
  done
}

wait_for() {
  for _ in $(seq 100); do
    grep -qE "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
  unset WAYLAND_DISPLAY
}
