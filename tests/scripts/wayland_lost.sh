#!/usr/bin/env bash
# The Wayland compositor gone under the window (Weston's headless backend,
# killed): the program ends with status 1 and one line of ours, as for a
# lost X display, not GDK's "Broken pipe". WAYLAND_DISPLAY naming no
# compositor: the message names the Wayland display, not DISPLAY. A DISPLAY
# with control characters is printed escaped.
# Usage: wayland_lost.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
command -v weston >/dev/null || { echo "FAIL: weston is not installed"; exit 1; }
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
work=$(mktemp -d /tmp/tenmado-wayland-lost.XXXXXX)
weston_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset DISPLAY DBUS_SESSION_BUS_ADDRESS
export GDK_BACKEND=wayland NO_AT_BRIDGE=1

# ---- no compositor of that name
WAYLAND_DISPLAY=nope "$prog" >"$work/out" 2>"$work/err"; rc=$?
[ $rc -eq 1 ] && grep -q "^tenmado: cannot open the Wayland display 'nope'" "$work/err" ||
  fail "WAYLAND_DISPLAY=nope: exit $rc: $(cat "$work/err")"

# ---- a DISPLAY with control characters: escaped in the message
DISPLAY=$':9\e[31mX' GDK_BACKEND=x11 "$prog" >"$work/out" 2>"$work/err"; rc=$?
[ $rc -eq 1 ] && grep -qF "tenmado: cannot open display ':9\033[31mX'" "$work/err" &&
  ! grep -q $'\e' "$work/err" || fail "DISPLAY with an escape: exit $rc: $(od -c "$work/err" | head -3)"

# ---- the compositor killed under the window
export WAYLAND_DISPLAY=tenmado-lost
weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" \
  --width=800 --height=600 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
  sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "FAIL: weston did not start"; cat "$work/weston.log"; exit 1; }
"$prog" >"$work/app.log" 2>&1 &
app_pid=$!
sleep 2
kill -0 "$app_pid" 2>/dev/null || fail "the window ended before the compositor: $(cat "$work/app.log")"
kill -9 "$weston_pid"; wait "$weston_pid" 2>/dev/null; weston_pid=
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "the program runs on without its compositor"
else
  wait "$app_pid"; rc=$?; app_pid=
  [ $rc -eq 1 ] || fail "exit status $rc, not 1"
  # GTK's seat warning of a headless compositor is its own and let through
  others=$(grep -v "gdk_seat_get_keyboard: assertion 'GDK_IS_SEAT (seat)' failed" "$work/app.log" | grep -v '^$')
  [ "$others" = "tenmado: lost the connection to the display tenmado-lost" ] ||
    fail "not our one line: $others"
fi

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "wayland_lost: all checks passed"
