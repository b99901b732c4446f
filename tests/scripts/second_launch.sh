#!/usr/bin/env bash
# Second launches under Xvfb. In a session bus (dbus-run-session): a launch
# with options while the window runs shows that window, ends with 0 and
# says which of its options were ignored; with the first instance stopped
# (SIGSTOP) a launch ends with 1 and one line of ours, well before GLib's
# 25 s. Without a session bus: a plain instance, and no bus is started
# (a dbus-launch on the PATH records any call); the second plain window,
# started at 9999-12-31 23:59:58 with the test tick (a second a tick), stops
# its clock at 23:59:59, says so once and runs on repainting.
# Usage: second_launch.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
app_id=$(sed -n 's/^set(TENMADO_APP_ID "\(.*\)")$/\1/p' "$src/shell/desktop/CMakeLists.txt")
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# ---- the part inside a session bus (run by the outer part below)
if [ -n "${TENMADO_IN_SESSION:-}" ]; then
  export NO_AT_BRIDGE=1
  window_start "$prog" || { echo "FAIL: no window in the session"; exit 1; }
  timeout 20 "$prog" --lat 50 --at "2000-01-01 00:00:00" >"$work/second.out" 2>"$work/second.err"; rc=$?
  [ $rc -eq 0 ] || fail "second launch: exit $rc: $(cat "$work/second.err")"
  [ "$(wc -l <"$work/second.err")" -eq 1 ] &&
    grep -q '^tenmado: a tenmado window already runs in this session: it is shown, and the options --lat, --at of this launch are ignored' "$work/second.err" ||
    fail "second launch: not one line naming --lat, --at: $(cat "$work/second.err")"
  n=$(xdotool search --onlyvisible --class "^$app_id\$" | wc -l)
  [ "$n" -eq 1 ] || fail "$n windows after a second launch, not 1"
  # the first instance stopped: one line of ours, status 1, soon
  kill -STOP "$app_pid"
  t0=$(date +%s)
  timeout 40 "$prog" >"$work/third.out" 2>"$work/third.err"; rc=$?
  took=$(($(date +%s) - t0))
  kill -CONT "$app_pid"
  [ $rc -eq 1 ] || fail "launch beside a stopped instance: exit $rc"
  [ "$(wc -l <"$work/third.err")" -eq 1 ] &&
    grep -q '^tenmado: cannot register the application on the session bus: .*does not answer' "$work/third.err" ||
    fail "launch beside a stopped instance: not one line of ours: $(cat "$work/third.err")"
  [ "$took" -lt 15 ] || fail "launch beside a stopped instance took $took s"
  window_close || fail "the first window did not end"
  exit $((fails != 0))
fi

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
TENMADO_IN_SESSION=1 dbus-run-session -- bash "$0" "$prog" "$src" 2>"$work/session.err" ||
  fail "in a session bus (above): $(cat "$work/session.err")"

# ---- no session bus: no address, an empty runtime folder; a dbus-launch
# that records its calls and fails
unset DBUS_SESSION_BUS_ADDRESS NO_AT_BRIDGE
mkdir -m 700 "$work/runtime" "$work/bin"
export XDG_RUNTIME_DIR=$work/runtime
printf '#!/bin/sh\necho "$*" >>"%s/launched"\nexit 1\n' "$work" >"$work/bin/dbus-launch"
chmod +x "$work/bin/dbus-launch"
PATH=$work/bin:$PATH window_start "$prog" --lat 50 || { echo "FAIL: no window without a bus"; exit 1; }
first=$app_pid first_wid=$wid
PATH=$work/bin:$PATH TENMADO_TEST_TICK_MS=50 window_start "$prog" --at "9999-12-31 23:59:58" ||
  fail "no second window of its own without a bus"
sleep 1.5
window_quit || fail "the second plain window did not end"
ticks=$(sed -n 's/^tenmado: \([0-9]*\) test ticks$/\1/p' "$work/app.log")
[ "$(grep -c '^tenmado: the clock stops at 9999-12-31 23:59:59, the end of its calendar$' "$work/app.log")" -eq 1 ] &&
  [ "${ticks:-0}" -gt 5 ] && [ "$(wc -l <"$work/app.log")" -eq 2 ] ||
  fail "the end of the calendar: not one line saying the clock stops, or no repaints: $(cat "$work/app.log")"
app_pid=$first wid=$first_wid
window_quit || fail "the first plain window did not end"
[ ! -e "$work/launched" ] || fail "a session bus was started: dbus-launch $(cat "$work/launched")"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "second_launch: all checks passed"
