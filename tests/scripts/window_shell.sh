#!/usr/bin/env bash
# The window's shell under Xvfb with a session bus: the context menu and
# each of its actions, F1 and the menu keys, the widget mode's hints, time
# travel (PgUp, Ctrl+Right, Ctrl+PgDn, N) with the bar and the title, the
# tooltips over the Moon at three window sizes and at GDK_SCALE=2, and the
# drawing area's accessible name and description read back through AT-SPI
# (window_shell.py, system Python with python3-pyatspi).
# Usage: window_shell.sh <path-to-tenmado_testhooks> <source-dir> (the program with
# its test hooks: the tooltips' texts, the fast clock)
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xprop xwininfo dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "FAIL: python3-pyatspi is not installed (the AT-SPI checks need it)"; exit 1; }
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
unset NO_AT_BRIDGE DBUS_SESSION_BUS_ADDRESS
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
printf '[observer]\nazimuth = 0\n' >"$XDG_CONFIG_HOME/tenmado/settings.ini"
xvfb_start 1600x1200x24 || { echo "FAIL: no Xvfb display could be started"; exit 1; }
# the session bus and, on demand, the accessibility bus end with the script
dbus-run-session -- /usr/bin/python3 "$here/window_shell.py" "$prog" "$work" "$here" 2>&1 |
  grep -v '^dbus-daemon\[' | grep -v 'SpiRegistry daemon'
exit "${PIPESTATUS[0]}"
