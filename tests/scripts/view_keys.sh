#!/usr/bin/env bash
# The view's keys in the real window under Xvfb: → turns the view by 15
# degrees (方位角 15 as a snapshot with --azimuth 15 shows it, the sky
# changes), Shift+← by 90, Home returns to the setting (the settings file's
# azimuth), the mouse wheel over the sky turns it and beside the sky not;
# the settings file is not written; its [window] widget = true makes the
# window a desktop widget.
# Usage: view_keys.sh <path-to-tenmado> <source-dir>
#   (VIEW_KEYS_KEEP=DIR keeps the captures and snapshots in DIR)
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xprop import python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export NO_AT_BRIDGE=1
unset DBUS_SESSION_BUS_ADDRESS
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
printf '[observer]\nazimuth = -30\n' >"$XDG_CONFIG_HOME/tenmado/settings.ini"
cp "$XDG_CONFIG_HOME/tenmado/settings.ini" "$work/settings.before"
at="2026-12-06 21:00:00"

# same ROW FILE.png REF.png: the 方位角 row (x 420-529, y 50-72) alike in both
same_row() {
  python3 - "$@" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import pngpix
_, _, a = pngpix.read_png(sys.argv[2])
_, _, b = pngpix.read_png(sys.argv[3])
bad = sum(1 for y in range(50, 73) for x in range(420, 530) if a(x, y) != b(x, y))
sys.exit(1 if bad else 0)
PY
}
# sky A.png B.png: pixels of the sky (x 80-400, y 70-220) that differ
sky() {
  python3 - "$here" "$1" "$2" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import pngpix
_, _, a = pngpix.read_png(sys.argv[2])
_, _, b = pngpix.read_png(sys.argv[3])
print(sum(1 for y in range(70, 221) for x in range(80, 401) if a(x, y) != b(x, y)))
PY
}
for az in -30 -15 -45 -105; do
  "$prog" --snapshot "$work/az$az.png" --at "$at" --azimuth "$az" 2>/dev/null || fail "snapshot --azimuth $az"
done

capture() {  # NAME: the window once the picture is in it
  sleep 0.6
  import -window "$wid" -depth 8 PNG24:"$work/$1.png" 2>/dev/null || fail "capture $1"
}
shows() {  # NAME AZIMUTH WHAT
  same_row "$here" "$work/$1.png" "$work/az$2.png" || fail "$3: the window does not show 方位角 $2"
}

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
window_start "$prog" --at "$at" || { echo "FAIL: no window titled 天窓 appeared"; exit 1; }
xdotool windowfocus --sync "$wid" 2>/dev/null
capture start
shows start -30 "the setting"

xdotool key Right
capture right
shows right -15 "→"
n=$(sky "$work/start.png" "$work/right.png")
[ "$n" -gt 3000 ] || fail "→: only $n pixels of the sky changed"

xdotool key shift+Left
capture shift_left
shows shift_left -105 "Shift+←"

xdotool key Home
capture home
shows home -30 "Home"

# the wheel: over the sky it turns the view, over the clock it does not
xdotool mousemove --window "$wid" 250 150 click 4
capture wheel_up
shows wheel_up -15 "the wheel up over the sky"
xdotool mousemove --window "$wid" 460 115 click 4
capture wheel_clock
shows wheel_clock -15 "the wheel over the clock"
xdotool mousemove --window "$wid" 250 150 click 5 click 5
capture wheel_down
shows wheel_down -45 "the wheel down twice over the sky"
xdotool key Home
capture home2
shows home2 -30 "Home after the wheel"

cmp -s "$XDG_CONFIG_HOME/tenmado/settings.ini" "$work/settings.before" || fail "the settings file changed"
[ "$(ls "$XDG_CONFIG_HOME/tenmado")" = "settings.ini" ] || fail "files beside the settings: $(ls "$XDG_CONFIG_HOME/tenmado")"

[ -n "${VIEW_KEYS_KEEP:-}" ] && cp "$work"/*.png "$VIEW_KEYS_KEEP"/
window_close 50 || fail "the program runs on after its window closed"

# [window] widget = true in a settings file makes the window a widget
printf '[window]\nwidget = true\n' >"$work/widget.ini"
if window_start "$prog" --config "$work/widget.ini"; then
  state=$(xprop -id "$wid" _NET_WM_STATE)
  grep -q _NET_WM_STATE_BELOW <<<"$state" || fail "widget = true: the window is no widget: $state"
  window_close 50 || fail "the widget runs on after its window closed"
else
  fail "no window with widget = true"
fi
if [ $fails -ne 0 ]; then echo "$fails failure(s)"; cat "$work/app.log"; exit 1; fi
echo "view_keys: all checks passed (display $DISPLAY)"
