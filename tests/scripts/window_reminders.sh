#!/usr/bin/env bash
# Reminders as desktop notifications, captured on a session bus of the
# test's own (window_reminders.py): one for the sunrise while the clock runs
# over it, none without [reminders], none for a sunrise already past; the
# window under Xvfb.
# Usage: window_reminders.sh <path-to-tenmado_testhooks> <source-dir> (the program with
# its test hooks: the tooltips' texts, the fast clock)
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi, gi' 2>/dev/null ||
  { echo "FAIL: python3-pyatspi or python3-gi is not installed"; exit 1; }
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
unset NO_AT_BRIDGE DBUS_SESSION_BUS_ADDRESS
export XDG_CONFIG_HOME=$work/config
xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
dbus-run-session -- /usr/bin/python3 "$here/window_reminders.py" "$prog" "$work" 2>&1 |
  grep -v '^dbus-daemon\[' | grep -v 'SpiRegistry daemon'
exit "${PIPESTATUS[0]}"
