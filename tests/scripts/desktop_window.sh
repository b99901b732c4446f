#!/usr/bin/env bash
# The real window under Xvfb: a window titled "天窓" of client size 530 x 257
# appears at (100, 100), shows the #64ffff background, changes between two
# captures two seconds apart (the repaint timer runs), and closing it ends
# the program. When the X server dies under the window, the program says it
# lost the display, in one line, and exits 1. The checks hold in any locale
# (the window is found by its PID).
# Usage: desktop_window.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
pix() { python3 "$here/pngpix.py" "$@"; }
for tool in Xvfb xdotool xwininfo xdpyinfo xprop import python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
window_start "$prog" || { echo "FAIL: no window appeared"; exit 1; }
title=$(window_title "$wid")
[ "$title" = "天窓" ] || fail "title is $(printf '%q' "$title")"

info=$(xwininfo -id "$wid")
width=$(awk '/^ *Width:/ {print $2}' <<<"$info")
height=$(awk '/^ *Height:/ {print $2}' <<<"$info")
[ "$width" = 530 ] && [ "$height" = 257 ] || fail "client size ${width} x ${height}, not 530 x 257"
ax=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
ay=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
[ "$ax" = 100 ] && [ "$ay" = 100 ] || fail "position ($ax, $ay), not (100, 100)"

# the first repaint: wait until the background is on screen
for _ in $(seq 50); do
  import -window "$wid" -depth 8 PNG24:"$work/one.png" 2>/dev/null &&
    [ "$(pix "$work/one.png" count '#64ffff')" -gt 20000 ] && break
  sleep 0.1
done
sleep 2
import -window "$wid" -depth 8 PNG24:"$work/two.png" || fail "capture 2"
if [ -f "$work/one.png" ] && [ -f "$work/two.png" ]; then
  [ "$(pix "$work/one.png" size)" = "530 257" ] || fail "capture size $(pix "$work/one.png" size)"
  n=$(pix "$work/one.png" count '#64ffff')
  [ "$n" -gt 20000 ] || fail "only $n pixels of #64ffff on screen"
  c=$(pix "$work/one.png" pixel 2 250)
  [ "$c" = "#64ffff" ] || fail "pixel (2, 250) is $c, not #64ffff"
  cmp -s "$work/one.png" "$work/two.png" && fail "two captures 2 s apart are equal: no repaint"
fi

# closing the window ends the program
if ! window_close 50; then
  fail "the program runs on after its window closed"
else
  [ $rc -eq 0 ] || fail "exit status $rc after the window closed: $(cat "$work/app.log")"
fi

# the display lost: the X server killed under the window
window_start "$prog" || { echo "FAIL: no second window appeared"; exit 1; }
kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
if ! window_wait_end 100; then
  fail "the program runs on without its display"
else
  [ $rc -eq 1 ] || fail "exit status $rc (not 1) when the display was lost"
  lines=$(grep -c . "$work/app.log")
  [ "$lines" -eq 1 ] && grep -q "^tenmado: lost the connection to the display $DISPLAY\$" "$work/app.log" ||
    fail "not one line about the lost display: $(cat "$work/app.log")"
fi

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; cat "$work/app.log"; exit 1; fi
echo "desktop_window: all checks passed (display $DISPLAY)"
