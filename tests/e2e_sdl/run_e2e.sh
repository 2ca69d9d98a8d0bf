#!/usr/bin/env bash
# The sample window as a person sees it: full-screen on a private Xvfb, a real
# pointer move and key press from xdotool, focus taken by another window, and
# a screenshot of the screen.
set -u
sample="$1"

source "$(dirname "$0")/../xvfb_session.sh"
require_programs xdotool xwd od

start_xvfb 640x480

"$sample" --seconds 60 >"$work/sample.log" 2>&1 &
pids+=($!)
wait_for "$work/sample.log" '^WM_SETFOCUS' || fail "the window did not come up with the focus"
grep -q '^WM_SIZE 640 480$' "$work/sample.log" || fail "the window does not cover the display"
sleep 0.5

# The colour "R,G,B" of screen pixel ($1, $2) in a fresh xwd screenshot,
# read with od (TrueColor, 24 or 32 bits a pixel, as Xvfb dumps its screen).
pixel() {
  xwd -root -silent >"$work/screen.xwd" || fail "xwd failed"
  field() { od -An -t u4 --endian=big -j "$1" -N 4 "$work/screen.xwd" | tr -d ' '; }
  local header bytesPerLine bytesPerPixel colours byteOrder offset b0 b1 b2 b3
  header=$(field 0)
  byteOrder=$(field 28)
  bytesPerPixel=$(($(field 44) / 8))
  bytesPerLine=$(field 48)
  colours=$(field 76)
  offset=$((header + colours * 12 + $2 * bytesPerLine + $1 * bytesPerPixel))
  read -r b0 b1 b2 b3 < <(od -An -t u1 -j "$offset" -N 4 "$work/screen.xwd")
  if [ "$byteOrder" = 0 ]; then
    echo "$b2,$b1,$b0"
  elif [ "$bytesPerPixel" = 3 ]; then
    echo "$b0,$b1,$b2"
  else
    echo "$b1,$b2,$b3"
  fi
}

# The pixel at (320, 300) lies in the sample's blue field (the moving square
# stays in rows 20 to 59).
seen=$(pixel 320 300)
[ "$seen" = "32,64,192" ] || fail "screenshot pixel is $seen, not the window's 32,64,192"

xdotool mousemove 123 45
wait_for "$work/sample.log" '^WM_MOUSEMOVE 123 45 screen 123 45$' || fail "no WM_MOUSEMOVE at 123 45"

xdotool key a
wait_for "$work/sample.log" '^WM_KEYDOWN 0x41$' || fail "no WM_KEYDOWN for the key"
wait_for "$work/sample.log" '^WM_CHAR 0x61$' || fail "no WM_CHAR for the key"

"$sample" --window 20 20 100 100 --title Other --seconds 60 >"$work/other.log" 2>&1 &
pids+=($!)
wait_for "$work/other.log" '^READY' || fail "the other window did not come up"
other=$(xdotool search --name '^Other$' | head -n1)
[ -n "$other" ] && xdotool windowfocus "$other"
wait_for "$work/sample.log" '^WM_KILLFOCUS$' || fail "no WM_KILLFOCUS when another window took the focus"
wait_for "$work/sample.log" '^WM_ACTIVATEAPP 0$' || fail "no WM_ACTIVATEAPP 0 when another window took the focus"

# A second start finds the first run's window on the display and brings it
# back to the front instead of opening another.
"$sample" --single --seconds 5 >"$work/second.log" 2>&1 || fail "the second start failed"
grep -q '^FOUND EXISTING$' "$work/second.log" || fail "the second start did not find the first window"
for _ in $(seq 100); do
  [ "$(grep -c '^WM_SETFOCUS$' "$work/sample.log")" -ge 2 ] && break
  sleep 0.1
done
[ "$(grep -c '^WM_SETFOCUS$' "$work/sample.log")" -ge 2 ] || fail "the first window did not get the focus back"

# A preview: a child placed in another program's window by its X11 id, as a
# screen-saver manager passes its preview window. It draws there, and goes
# when that window goes.
"$sample" --window 300 200 160 120 --title Host --still --color 000000 --seconds 60 >"$work/host.log" 2>&1 &
host=$!
pids+=($host)
wait_for "$work/host.log" '^READY' || fail "the host window did not come up"
hostId=$(xdotool search --name '^Host$' | head -n1)
[ -n "$hostId" ] || fail "the host window has no X11 id"
"$sample" --parent "$hostId" --color 40A020 --seconds 60 >"$work/preview.log" 2>&1 &
pids+=($!)
wait_for "$work/preview.log" '^READY 160x120$' || fail "the preview did not come up in the host"
sleep 0.5
seen=$(pixel 380 290)
[ "$seen" = "64,160,32" ] || fail "preview pixel is $seen, not the preview's 64,160,32"
kill "$host"
wait_for "$work/preview.log" '^WM_DESTROY' || fail "the preview did not go with its host"

echo "e2e: passed on display $DISPLAY"
exit 0
