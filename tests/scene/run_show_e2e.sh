#!/usr/bin/env bash
# glimmerkit show as a person sees it on a private Xvfb (the sdl backend): a
# still cube of six flat-colour pictures, every pixel the same as the
# headless snapshot of the same package; a key press ends it.
set -u
tool="$1"

if ! command -v Xvfb >/dev/null; then
  echo "e2e: Xvfb is not installed; skipped"
  exit 77
fi
for program in xwd convert compare xdotool; do
  command -v "$program" >/dev/null || { echo "e2e: $program is missing"; exit 1; }
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

Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY

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
