#!/usr/bin/env bash
# The sample window drawing with OpenGL and text, as a person sees it on a
# private Xvfb (the sdl backend), against the headless backend's PNG snapshot
# of the same still picture: every pixel the same.
set -u
sample="$1"

if ! command -v Xvfb >/dev/null; then
  echo "e2e: Xvfb is not installed; skipped"
  exit 77
fi
for tool in xwd convert compare; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing"; exit 1; }
done

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

# The headless picture, half a virtual second after the first paint.
GLIMMER_BACKEND=headless GLIMMER_CLOCK=virtual GLIMMER_SCREEN=320x240 GLIMMER_SNAPSHOT="500:$work/headless.png" \
  "$sample" --gl --still --seconds 1 >"$work/headless.log" 2>&1 || fail "the headless run failed"
[ -s "$work/headless.png" ] || fail "no headless snapshot"

Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY

GLIMMER_BACKEND=sdl GLIMMER_CLOCK=real "$sample" --gl --still --seconds 60 >"$work/sample.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^WM_SETFOCUS' "$work/sample.log" 2>/dev/null && break; sleep 0.1; done
grep -q '^WM_SIZE 320 240$' "$work/sample.log" || fail "the window does not cover the display"
sleep 1
xwd -root -silent >"$work/screen.xwd" || fail "xwd failed"
convert "xwd:$work/screen.xwd" -alpha off "png24:$work/screen.png" || fail "convert failed"

differ=$(compare -metric AE "$work/screen.png" "$work/headless.png" null: 2>&1)
[ "$differ" = "0" ] || {
  cp "$work/screen.png" "$work/headless.png" "${TMPDIR:-/tmp}/" 2>/dev/null
  fail "$differ pixels differ between the screenshot and the snapshot (both kept in ${TMPDIR:-/tmp})"
}
echo "e2e: the screenshot and the headless snapshot match on display $DISPLAY"
exit 0
