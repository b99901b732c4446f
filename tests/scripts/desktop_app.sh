#!/usr/bin/env bash
# The window as a desktop application under Xvfb: WM_CLASS is the
# application id and the window has an icon (compiled in: nothing is
# installed); with no session bus it runs as a plain instance and says
# nothing; Ctrl+Q and Ctrl+W end the program; --widget sets the window hints
# of a desktop widget, and the default window has none of them. Under
# dbus-run-session a second launch opens no second window, while --snapshot
# and --almanac still do their work in their own process.
# Usage: desktop_app.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xprop dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
app_id=$(sed -n 's/^set(TENMADO_APP_ID "\(.*\)")$/\1/p' "$src/shell/desktop/CMakeLists.txt")
[ -n "$app_id" ] || { echo "FAIL: no application id in shell/desktop/CMakeLists.txt"; exit 1; }
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# press_ends KEYS WHAT: the keys in the focused window end the program with 0
press_ends() {
  xdotool windowfocus --sync "$wid" 2>/dev/null
  xdotool key "$1"
  for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    fail "$2 does not end the program"
    kill "$app_pid"; wait "$app_pid"; app_pid=
    return
  fi
  wait "$app_pid"; local rc=$?; app_pid=
  [ $rc -eq 0 ] || fail "exit status $rc after $2"
}

# ---- the part inside a session bus (run by the outer part below)
if [ -n "${TENMADO_IN_SESSION:-}" ]; then
  export NO_AT_BRIDGE=1  # no accessibility services on this short-lived bus
  window_start "$prog" || { echo "FAIL: no window in the session"; exit 1; }
  timeout 20 "$prog" >"$work/second.log" 2>&1; rc=$?
  [ $rc -eq 0 ] || fail "second launch exit $rc: $(cat "$work/second.log")"
  sleep 1
  n=$(xdotool search --onlyvisible --class "^$app_id\$" | wc -l)
  [ "$n" -eq 1 ] || fail "$n windows after a second launch, not 1"
  "$prog" --snapshot "$work/s.png" --at "2026-12-06 21:00:00" || fail "snapshot beside the window"
  [ -s "$work/s.png" ] || fail "no snapshot written beside the window"
  grep -q '^日時' <("$prog" --almanac) || fail "no almanac beside the window"
  press_ends ctrl+w "Ctrl+W in the session"
  [ ! -s "$work/app.log" ] || fail "output in the session: $(cat "$work/app.log")"
  exit $((fails != 0))
fi

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
# no session bus at all: no address, and an empty runtime folder
unset DBUS_SESSION_BUS_ADDRESS
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

# ---- the default window: class, icon, no widget hints, Ctrl+Q
window_start "$prog" || { echo "FAIL: no window"; exit 1; }
class=$(xprop -id "$wid" WM_CLASS)
[ "$class" = "WM_CLASS(STRING) = \"$app_id\", \"$app_id\"" ] || fail "WM_CLASS: $class"
icon=$(xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u | tr '\n' ' ')
grep -q 'Icon (32 x 32)' <<<"$icon" || fail "no 32 x 32 window icon; _NET_WM_ICON has: ${icon:-nothing}"
state=$(xprop -id "$wid" _NET_WM_STATE _MOTIF_WM_HINTS)
grep -qE 'BELOW|STICKY|SKIP_TASKBAR|SKIP_PAGER|0x2, 0x0' <<<"$state" && fail "default window has widget hints: $state"
press_ends ctrl+q "Ctrl+Q"
[ ! -s "$work/app.log" ] || fail "output without a session bus: $(cat "$work/app.log")"

# ---- the widget
window_start "$prog" --widget || { echo "FAIL: no widget window"; exit 1; }
state=$(xprop -id "$wid" _NET_WM_STATE)
for hint in BELOW STICKY SKIP_TASKBAR SKIP_PAGER; do
  grep -q "_NET_WM_STATE_$hint" <<<"$state" || fail "--widget: no $hint in $state"
done
# Motif hints: flags 2 (decorations given), decorations 0 (none)
motif=$(xprop -id "$wid" _MOTIF_WM_HINTS)
grep -q '= 0x2, 0x0,' <<<"$motif" || fail "--widget: decorations not off: $motif"
desktop=$(xprop -id "$wid" _NET_WM_DESKTOP)
grep -q '= 4294967295$' <<<"$desktop" || fail "--widget: not on every workspace: $desktop"
press_ends ctrl+w "Ctrl+W on the widget"

# ---- one window per session bus
# (the bus daemon's own notices go to a file, shown when the part fails)
TENMADO_IN_SESSION=1 dbus-run-session -- bash "$0" "$prog" "$src" 2>"$work/session.err" ||
  fail "in a session bus (above): $(cat "$work/session.err")"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "desktop_app: all checks passed (display $DISPLAY, id $app_id)"
