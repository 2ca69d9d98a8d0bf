#!/usr/bin/env bash
# The sample window drawing with OpenGL and text, as a person sees it on a
# private Xvfb (the sdl backend), against the headless backend's PNG snapshot
# of the same still picture: every pixel the same.
set -u
sample="$1"

source "$(dirname "$0")/../xvfb_session.sh"
require_programs xwd convert compare

# The headless picture, half a virtual second after the first paint.
GLIMMER_BACKEND=headless GLIMMER_CLOCK=virtual GLIMMER_SCREEN=320x240 GLIMMER_SNAPSHOT="500:$work/headless.png" \
  "$sample" --gl --still --seconds 1 >"$work/headless.log" 2>&1 || fail "the headless run failed"
[ -s "$work/headless.png" ] || fail "no headless snapshot"

start_xvfb 320x240

GLIMMER_BACKEND=sdl GLIMMER_CLOCK=real "$sample" --gl --still --seconds 60 >"$work/sample.log" 2>&1 &
pids+=($!)
wait_for "$work/sample.log" '^WM_SETFOCUS'
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
