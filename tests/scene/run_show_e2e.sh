#!/usr/bin/env bash
# glimmerkit show as a person sees it on a private Xvfb (the sdl backend): a
# still cube of six flat-colour pictures, every pixel the same as the
# headless snapshot of the same package; a key press ends it.
set -u
tool="$1"

source "$(dirname "$0")/../xvfb_session.sh"
require_programs xwd convert compare xdotool

# Six pictures, no spin, no satellites: the same still picture at any time.
pictures=()
for colour in red lime blue yellow magenta cyan; do
  convert -size 64x64 "xc:$colour" "$work/$colour.jpg" || fail "convert could not make a picture"
  pictures+=("$work/$colour.jpg")
done
"$tool" pack --output "$work/still.DAT" --name "Still" --distance 0 "${pictures[@]}" >"$work/pack.log" 2>&1 ||
  fail "pack failed"
"$tool" snapshot "$work/still.DAT" -o "$work/headless.png" --size 320x240 >"$work/snapshot.log" 2>&1 ||
  fail "the snapshot failed"

start_xvfb 320x240

GLIMMER_BACKEND=sdl "$tool" show "$work/still.DAT" --for 60000 >"$work/show.log" 2>&1 &
show=$!
pids+=($show)
differ=unknown
for _ in $(seq 40); do
  sleep 0.25
  xwd -root -silent >"$work/screen.xwd" 2>/dev/null || continue
  convert "xwd:$work/screen.xwd" -alpha off "png24:$work/screen.png" || fail "convert failed"
  differ=$(compare -metric AE "$work/screen.png" "$work/headless.png" null: 2>&1)
  [ "$differ" = "0" ] && break
done
[ "$differ" = "0" ] || {
  cp "$work/screen.png" "$work/headless.png" "${TMPDIR:-/tmp}/" 2>/dev/null
  fail "$differ pixels differ between the screen and the snapshot (both kept in ${TMPDIR:-/tmp})"
}

xdotool key space
for _ in $(seq 50); do kill -0 "$show" 2>/dev/null || break; sleep 0.1; done
kill -0 "$show" 2>/dev/null && fail "a key press did not end show"
wait "$show" || fail "show did not end with 0"
echo "e2e: show on display $DISPLAY matches the snapshot and ends on a key"
exit 0
