#!/usr/bin/env bash
# The window's clock at the end of the calendar (Xvfb): started at
# 9999-12-31 23:59:58 with the test tick (a second a tick), it stops at
# 9999-12-31 23:59:59, says so once, and the window runs on repainting.
# Usage: window_calendar_end.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
unset DBUS_SESSION_BUS_ADDRESS
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime NO_AT_BRIDGE=1

TENMADO_TEST_TICK_MS=50 window_start "$prog" --at "9999-12-31 23:59:58" || { echo "FAIL: no window"; exit 1; }
sleep 2
kill -0 "$app_pid" 2>/dev/null || fail "the window ended at the end of the calendar"
window_quit || fail "the window did not end"
[ $rc -eq 0 ] || fail "exit status $rc"
n=$(grep -c "^tenmado: the clock stops at 9999-12-31 23:59:59, the end of its calendar$" "$work/app.log")
[ "$n" -eq 1 ] || fail "the stop said $n times: $(head -c 300 "$work/app.log")"
ticks=$(sed -n 's/^tenmado: \([0-9]*\) test ticks$/\1/p' "$work/app.log")
[ "${ticks:-0}" -gt 5 ] || fail "the window stopped repainting: ${ticks:-no} ticks"
others=$(grep -v -e "the clock stops" -e "test ticks$" "$work/app.log")
[ -z "$others" ] || fail "other output: $others"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "window_calendar_end: all checks passed"
