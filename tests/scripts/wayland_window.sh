#!/usr/bin/env bash
# The window on Wayland, natively (GDK_BACKEND=wayland, no X display): under
# Weston's headless backend with the pixman renderer (without it the output
# has no pixels) and its debug protocol (for weston-screenshooter), at output
# scale 1 and 2. The window appears; two captures two seconds apart differ
# (the repaint timer runs); the picture on the screen is the snapshot of the
# instant it shows at the output's scale, pixel for pixel (at scale 2
# redrawn, not enlarged); the application's quit
# action, sent over the session bus, ends it with status 0. The compositor
# killed under the window ends it with status 1 and our one line.
#
# GTK prints "gdk_seat_get_keyboard: assertion 'GDK_IS_SEAT (seat)' failed"
# when the compositor offers no input seat, as a headless one does: that
# critical is GTK's own, not the program's, and is let through. Any other
# output of the program fails the test.
# Usage: wayland_window.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in weston weston-screenshooter dbus-run-session gapplication identify convert compare python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# the whole test on a session bus of its own (the quit action goes over it)
if [ -z "${TENMADO_IN_SESSION:-}" ]; then
  TENMADO_IN_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
app_id=$(sed -n 's/^set(TENMADO_APP_ID "\(.*\)")$/\1/p' "$src/shell/desktop/CMakeLists.txt")
[ -n "$app_id" ] || { echo "FAIL: no application id in shell/desktop/CMakeLists.txt"; exit 1; }
pix() { python3 "$here/pngpix.py" "$@"; }
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

work=$(mktemp -d /tmp/tenmado-wayland.XXXXXX)
weston_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=tests/scripts/lib/same_picture.bash
. "$here/lib/same_picture.bash"

# a runtime folder of our own (private, as Wayland requires); no X display
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset DISPLAY
export GDK_BACKEND=wayland WAYLAND_DISPLAY=tenmado-test
export NO_AT_BRIDGE=1  # no accessibility services on this short-lived bus
# nothing on the screen moves but the window: no panel with its clock
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$work/weston.ini"
mkdir "$work/shots"
# settings of the test's own, never the user's (an empty file: no first
# start's bar above the picture)
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
: >"$XDG_CONFIG_HOME/tenmado/settings.ini"

# shoot NAME: a capture of the whole output into $work/NAME.png
shoot() {
  rm -f "$work"/shots/*.png
  (cd "$work/shots" && weston-screenshooter) >>"$work/shooter.log" 2>&1 || return 1
  mv "$work"/shots/*.png "$work/$1.png" 2>/dev/null
}

for scale in 1 2; do
  weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" \
    --width=800 --height=600 --scale="$scale" --config="$work/weston.ini" \
    >"$work/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    sleep 0.05
  done
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "FAIL: weston did not start"; cat "$work/weston.log"; exit 1; }

  "$prog" --at "$at" >"$work/app.log" 2>&1 &
  app_pid=$!
  # the window appears: the picture's background on the screen
  shown=0
  for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    shoot one && [ "$(pix "$work/one.png" count '#64ffff')" -gt $((20000 * scale * scale)) ] &&
      { shown=1; break; }
    sleep 0.2
  done
  if [ $shown -eq 0 ]; then
    fail "scale $scale: no window on the screen"; cat "$work/app.log" "$work/shooter.log"
  else
    sleep 2
    shoot two || fail "scale $scale: second capture"
    cmp -s "$work/one.png" "$work/two.png" && fail "scale $scale: two captures 2 s apart are equal"
    # the picture's place on the screen: the bounds of its background colour
    box=$(convert "$work/two.png" -fill black +opaque '#64ffff' -format '%@' info:)
    want="$((530 * scale))x$((257 * scale))"
    [ "${box%%+*}" = "$want" ] || fail "scale $scale: the picture on the screen is ${box%%+*}, not $want"
    convert "$work/two.png" -crop "$box" +repage PNG24:"$work/picture.png"
    shows_snapshot "$work/picture.png" "$scale" "Wayland, output scale $scale"
  fi

  # the quit action over the session bus ends the program, status 0
  gapplication action "$app_id" quit 2>>"$work/app.log" || fail "scale $scale: quit action not delivered"
  for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    fail "scale $scale: the program runs on after the quit action"
    kill "$app_pid"
  fi
  wait "$app_pid"; rc=$?; app_pid=
  [ $rc -eq 0 ] || fail "scale $scale: exit status $rc"
  others=$(grep -v "gdk_seat_get_keyboard: assertion 'GDK_IS_SEAT (seat)' failed" "$work/app.log" | grep -v '^$')
  [ -z "$others" ] || fail "scale $scale: output beside GTK's seat warning: $others"

  kill "$weston_pid"; wait "$weston_pid" 2>/dev/null; weston_pid=
done

# ---- the compositor killed under the window: our line (not GDK's "Broken
# pipe"), status 1
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" \
  --width=800 --height=600 --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.05; done
"$prog" >"$work/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 50); do  # until the window is on the screen
  shoot lost && [ "$(pix "$work/lost.png" count '#64ffff')" -gt 20000 ] && break
  sleep 0.2
done
kill -9 "$weston_pid"; wait "$weston_pid" 2>/dev/null; weston_pid=
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill "$app_pid" 2>/dev/null
wait "$app_pid"; rc=$?; app_pid=
others=$(grep -v "gdk_seat_get_keyboard: assertion 'GDK_IS_SEAT (seat)' failed" "$work/app.log" | grep -v '^$')
[ $rc -eq 1 ] && [ "$others" = "tenmado: lost the connection to the display $WAYLAND_DISPLAY" ] ||
  fail "compositor killed: exit $rc, not our one line: $others"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "wayland_window: all checks passed"
