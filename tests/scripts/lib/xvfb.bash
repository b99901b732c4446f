# Shared by the scripts that run the real window under Xvfb (sourced, not a
# test of its own): a work folder, a display of its own, and the clean-up of
# the program and the server by PID whatever way the script ends.
#
# After sourcing: $work, $xvfb_pid, $app_pid, XDG_CONFIG_HOME (an empty
# settings file of the test's own).
#   xvfb_start [WxHxD]     start Xvfb on a display it picks itself (screen 1024x768x24
#                          unless given); exports DISPLAY
#   window_start PROG ...  start the program, wait for its window (found by the
#                          process id, whatever the title's encoding); id in $wid
#                          (returns 1 with the program's output on stderr when none appears)
#   window_title WID       the window's title (_NET_WM_NAME) as UTF-8 bytes

work=$(mktemp -d /tmp/tenmado-x.XXXXXX)
xvfb_pid=
app_pid=
wid=
xvfb_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap xvfb_cleanup EXIT
# Settings of the test's own, never the user's: an empty settings file, so
# the window is the one of a user who has settings (no first start's bar
# above the picture). A script that needs other settings, or none, sets
# XDG_CONFIG_HOME itself after sourcing this.
export XDG_CONFIG_HOME=$work/xdg-config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
: >"$XDG_CONFIG_HOME/tenmado/settings.ini"

# -displayfd: the server takes a free display and writes its number;
# -noreset: it must not reset when a probing client disconnects, or the
# program's connection could fall into the reset.
xvfb_start() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; return 1
  fi
  export DISPLAY=":$(head -n 1 "$work/display")"
}

window_start() {
  "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  wid=
  for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "no window of process $app_pid appeared" >&2; cat "$work/app.log" >&2
  return 1
}

# xprop prints a UTF8_STRING with octal escapes outside a UTF-8 locale:
# printf '%b' turns them back into bytes.
window_title() {
  local v
  v=$(xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p')
  printf '%b' "$v"
}

# window_close [TENTHS]: close the window and wait up to TENTHS tenths of a
# second (default 300) for the program to end. Its exit status goes into
# $rc; returns 1 (and kills it, rc 255) when it runs on after the close.
# The window is asked to close as a window manager asks it (WM_DELETE_WINDOW),
# never destroyed under the program: a window destroyed by another client
# while GTK paints it gives an X error (BadDrawable) and GDK's exit status 1.
window_close() {
  python3 "$(dirname "${BASH_SOURCE[0]}")/wm_delete.py" "$wid" 2>/dev/null
  window_wait_end "${1:-300}"
}

# window_quit [TENTHS]: the same, the program asked to end with its own key
# (Ctrl+Q in the focused window), for a window that repaints too often to be
# destroyed under it without a repaint in between.
window_quit() {
  xdotool windowfocus --sync "$wid" 2>/dev/null
  xdotool key ctrl+q
  window_wait_end "${1:-300}"
}

# window_wait_end TENTHS: wait for the program to end (see window_close).
window_wait_end() {
  local tenths=$1 lingered=0
  for _ in $(seq "$tenths"); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid"; lingered=1
  fi
  wait "$app_pid"; rc=$?; app_pid=
  [ $lingered -eq 0 ] || { rc=255; return 1; }
}
