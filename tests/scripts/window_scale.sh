#!/usr/bin/env bash
# The window at any size under Xvfb. Resized to 1060 x 514, and opened at
# GDK_SCALE=2, it shows the picture redrawn at scale 2: every pixel (the
# horizon, the zenith, the clock's dial and all the rest) is the scale-2
# snapshot's of the instant it shows; resized to 795 x 386 it shows the
# picture at scale 1.5 likewise. A window wider than the picture's shape
# shows the picture centred, the background #64ffff beside it (no black
# bands, no grey). The window is found by its process, not by its title.
# Usage: window_scale.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
pix() { python3 "$here/pngpix.py" "$@"; }
for tool in Xvfb xdotool xwininfo import identify convert compare python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# shellcheck source=tests/scripts/lib/same_picture.bash
. "$here/lib/same_picture.bash"
background='#64ffff'

# start PROG ARGS...: the program and its window ($app_pid, $wid)
start() { window_start "$@" || { echo "FAIL: no window appeared"; exit 1; }; }

# capture W H FILE: wait until the window is W x H, let it repaint, capture it
capture() {
  local size=
  for _ in $(seq 50); do
    size=$(xwininfo -id "$wid" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
    [ "$size" = "$1 $2" ] && break
    sleep 0.1
  done
  [ "$size" = "$1 $2" ] || { fail "window is $size, not $1 x $2"; return 1; }
  sleep 1.5
  import -window "$wid" -depth 8 PNG24:"$3" || { fail "capture of $3"; return 1; }
}

xvfb_start 1600x1200x24 || { echo "FAIL: no Xvfb display could be started"; exit 1; }

# ---- resized: 1060 x 514 is scale 2, 795 x 386 scale 1.5 (height 386 / 257 > 1.5)
start "$prog" --at "$at"
xdotool windowsize "$wid" 1060 514
capture 1060 514 "$work/resized.png" && shows_snapshot "$work/resized.png" 2 "window 1060 x 514"
xdotool windowsize "$wid" 795 386
capture 795 386 "$work/fractional.png" && shows_snapshot "$work/fractional.png" 1.5 "window 795 x 386"

# ---- wider than the picture: 1200 x 300 is scale min(1200 / 530, 300 / 257),
# the picture 619 pixels wide at x = 290; the rest is the background
xdotool windowsize "$wid" 1200 300
if capture 1200 300 "$work/wide.png"; then
  mapfile -t got < <(pix "$work/wide.png" pixels 0,0 0,299 150,150 289,10 909,10 1050,150 1199,0 1199,299 \
                     290,150 908,150)
  for i in 0 1 2 3 4 5 6 7; do
    [ "${got[$i]}" = "$background" ] || fail "wide window: beside the picture ${got[$i]}, not $background"
  done
  n=$(pix "$work/wide.png" count '#000000')
  [ "$n" -lt 20000 ] || fail "wide window: $n black pixels (black bands?)"
  # the dial's face (460 - 15, 115 + 15) at the scale, moved by the picture's place
  c=$(pix "$work/wide.png" pixel $((290 + 519)) 152)
  [ "$c" = "#ffff00" ] || fail "wide window: the dial's face is $c at (809, 152), not #ffff00"
fi
window_close 50 || fail "the program runs on after its window closed"
[ "${rc:-1}" -eq 0 ] || fail "exit status $rc after the window closed"

# ---- a HiDPI screen: GDK_SCALE=2 doubles the window, and the picture is redrawn
start env GDK_SCALE=2 "$prog" --at "$at"
capture 1060 514 "$work/hidpi.png" && shows_snapshot "$work/hidpi.png" 2 "GDK_SCALE=2"
window_close 50 || fail "the program runs on after its window closed (GDK_SCALE=2)"
[ "${rc:-1}" -eq 0 ] || fail "exit status $rc after the window closed (GDK_SCALE=2)"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; cat "$work/app.log"; exit 1; fi
echo "window_scale: all checks passed (display $DISPLAY)"
