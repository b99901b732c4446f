#!/usr/bin/env bash
# The Preferences window under Xvfb (opened with the main window by
# TENMADO_TEST_PREFERENCES): a place typed and chosen, Save; the file holds
# it and keeps its comments and the group it does not know, the picture
# shows the new 北緯 (against a snapshot of the same settings). Cancel
# writes nothing and puts the picture back. A settings folder that cannot
# be written gives a message and no crash. A tide station searched and
# saved; an option given (--lat) leaves the file's value to Save. The first
# start: the info bar above the picture (the picture below it is the
# snapshot), closed or followed by a Save, is not shown again.
# Usage: preferences_window.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xwininfo import convert compare python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
pix() { python3 "$here/pngpix.py" "$@"; }
unset WAYLAND_DISPLAY TENMADO_PLACES
export TENMADO_TIDE_STATIONS=$2/tides/tide_stations.tsv
export XDG_CONFIG_HOME=$work/config NO_AT_BRIDGE=1
mkdir -p "$XDG_CONFIG_HOME/tenmado"
file=$XDG_CONFIG_HOME/tenmado/settings.ini
printf '# my settings: keep me\n[observer]\nazimuth = 0\n\n[reminders]\nenabled = true\n' >"$file"
cp "$file" "$work/original.ini"
at="2026-06-21 12:00:00"
xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }

# the 北緯 row of a picture (its pixels, one a line)
points=$(for y in $(seq 36 49); do for x in $(seq 420 480); do printf '%s,%s ' "$x" "$y"; done; done)
latitude_row() { pix "$1" pixels $points; }

dialog() {  # wait for the Preferences window; its id into dlg
  dlg=
  for _ in $(seq 100); do
    dlg=$(xdotool search --onlyvisible --name "tenmado: Preferences" 2>/dev/null | head -n 1)
    [ -n "$dlg" ] && return 0
    sleep 0.1
  done
  return 1
}
ended() {  # the program still running: close it
  kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; app_pid=
}

# ---- a place chosen and saved
TENMADO_TEST_PREFERENCES=1 window_start "$prog" --at "$at" || { echo "FAIL: no window"; exit 1; }
dialog || { fail "no Preferences window"; cat "$work/app.log"; exit 1; }
xdotool windowactivate --sync "$dlg" 2>/dev/null; xdotool windowfocus --sync "$dlg"
sleep 0.5
xdotool type --delay 30 "Sapporo"
xdotool key Return
sleep 1
xdotool key alt+s
sleep 1.5
grep -q '^place=Sapporo' "$file" || fail "the file lacks place=Sapporo: $(cat "$file")"
grep -q '^latitude=43.0667' "$file" || fail "the file lacks latitude=43.0667"
grep -q '^zone=Asia/Tokyo' "$file" || fail "the file lacks zone=Asia/Tokyo"
grep -q '^# my settings: keep me' "$file" || fail "the comment is lost"
grep -q '^\[reminders\]' "$file" || fail "the group [reminders] is lost"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after Save"
import -window "$wid" -depth 8 PNG24:"$work/saved.png" 2>/dev/null || fail "capture after Save"
"$prog" --snapshot "$work/sapporo.png" --at "$at" --place Sapporo || fail "snapshot"
"$prog" --snapshot "$work/tokyo.png" --at "$at" --config /dev/null 2>/dev/null || fail "snapshot"
[ "$(latitude_row "$work/saved.png")" = "$(latitude_row "$work/sapporo.png")" ] ||
  fail "after Save the window's 北緯 is not Sapporo's"
[ "$(latitude_row "$work/saved.png")" != "$(latitude_row "$work/tokyo.png")" ] ||
  fail "the 北緯 rows of Sapporo and Tokyo do not differ: the check sees nothing"
ended

# ---- Cancel: nothing written, the picture back
cp "$file" "$work/before-cancel.ini"
TENMADO_TEST_PREFERENCES=1 window_start "$prog" --at "$at" || { echo "FAIL: no window"; exit 1; }
dialog || { fail "no Preferences window (Cancel)"; exit 1; }
xdotool windowactivate --sync "$dlg" 2>/dev/null; xdotool windowfocus --sync "$dlg"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 30 "London"
xdotool key Return
sleep 1
import -window "$wid" -depth 8 PNG24:"$work/preview.png" 2>/dev/null
[ "$(latitude_row "$work/preview.png")" != "$(latitude_row "$work/sapporo.png")" ] ||
  fail "the picture does not show the place chosen before Save"
xdotool key alt+c
sleep 1
cmp -s "$file" "$work/before-cancel.ini" || fail "Cancel changed the file"
import -window "$wid" -depth 8 PNG24:"$work/cancelled.png" 2>/dev/null
[ "$(latitude_row "$work/cancelled.png")" = "$(latitude_row "$work/sapporo.png")" ] ||
  fail "after Cancel the picture is not back to the saved place"
ended

# ---- a settings folder that cannot be made (a file stands in its way,
# which stops root too): a message, no crash
: >"$work/blocked"
XDG_CONFIG_HOME=$work/blocked TENMADO_TEST_PREFERENCES=1 window_start "$prog" --at "$at" ||
  { echo "FAIL: no window"; exit 1; }
dialog || { fail "no Preferences window (folder not writable)"; exit 1; }
xdotool windowactivate --sync "$dlg" 2>/dev/null; xdotool windowfocus --sync "$dlg"
sleep 0.5
xdotool key alt+s
sleep 1
xdotool search --onlyvisible --name "^tenmado$" >/dev/null 2>&1 || fail "no message when the folder cannot be written"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended when the folder cannot be written"
ended

# ---- the tide station: searched, chosen, saved; the picture's tide
# heading is the station's
tide_heading() { pix "$1" pixels $(for y in $(seq 200 222); do for x in $(seq 430 528); do printf '%s,%s ' "$x" "$y"; done; done); }
TENMADO_TEST_PREFERENCES=1 window_start "$prog" --at "$at" --lat 10 || { echo "FAIL: no window"; exit 1; }
dialog || { fail "no Preferences window (tide station)"; exit 1; }
xdotool windowactivate --sync "$dlg" 2>/dev/null; xdotool windowfocus --sync "$dlg"
sleep 0.5
xdotool key alt+t
xdotool key ctrl+a
xdotool type --delay 30 "Osaka"
xdotool key Return
sleep 1
xdotool key alt+s
sleep 1.5
grep -qi '^station=.*osaka' "$file" || fail "the file lacks the station of Osaka: $(grep station "$file")"
grep -q '^latitude=43.0667' "$file" || fail "--lat 10 went into the file: $(grep latitude "$file")"
import -window "$wid" -depth 8 PNG24:"$work/tide.png" 2>/dev/null || fail "capture (tide station)"
"$prog" --snapshot "$work/osaka.png" --at "$at" --lat 10 || fail "snapshot (tide station)"
[ "$(tide_heading "$work/tide.png")" = "$(tide_heading "$work/osaka.png")" ] ||
  fail "after Save the picture's tides are not the station's"
[ "$(tide_heading "$work/osaka.png")" != "$(tide_heading "$work/tokyo.png")" ] ||
  fail "the tide headings of the station and of Tokyo Bay do not differ: the check sees nothing"
ended

# ---- the first start: no settings file, no option saying where
fresh=$work/fresh
first_start() {  # the window of a first start; the info bar's height into bar_h
  XDG_CONFIG_HOME=$fresh window_start "$prog" --at "$at" || { echo "FAIL: no window (first start)"; exit 1; }
  sleep 1
  bar_h=$(( $(xwininfo -id "$wid" | awk '/^ *Height:/ {print $2}') - 257 ))
}
first_start
[ "$bar_h" -gt 10 ] && [ "$bar_h" -lt 200 ] || fail "first start: the window is not taller by an info bar ($bar_h)"
import -window "$wid" -depth 8 PNG24:"$work/first.png" 2>/dev/null || fail "capture (first start)"
convert "$work/first.png" -crop "530x257+0+$bar_h" +repage PNG24:"$work/first-picture.png"
# the picture below the bar: the snapshot of a second of the run
shown_at=$at
. "$here/lib/same_picture.bash"
at=$shown_at
kept=$XDG_CONFIG_HOME
export XDG_CONFIG_HOME=$fresh
shows_snapshot "$work/first-picture.png" 1 "first start"
export XDG_CONFIG_HOME=$kept
# its close button, at the right end of the bar
xdotool mousemove --window "$wid" 515 $((bar_h / 2)) click 1
sleep 1
grep -q '^welcomed=true' "$fresh/tenmado/settings.ini" 2>/dev/null || fail "closed: the file does not remember it"
[ "$(xwininfo -id "$wid" | awk '/^ *Height:/ {print $2}')" = 257 ] || fail "closed: the window did not shrink back by the bar"
ended
first_start
[ "$bar_h" = 0 ] || fail "the info bar came back after it was closed"
ended
# Set Place, then Save: the bar goes, not to come back
rm -rf "$fresh"
first_start
xdotool windowactivate --sync "$wid" 2>/dev/null; xdotool windowfocus --sync "$wid"
xdotool key alt+p
dialog || { fail "Set Place opened no Preferences window"; exit 1; }
xdotool windowactivate --sync "$dlg" 2>/dev/null; xdotool windowfocus --sync "$dlg"
sleep 0.5
xdotool key alt+s
sleep 1
grep -q '^welcomed=true' "$fresh/tenmado/settings.ini" 2>/dev/null || fail "saved: the file does not remember the bar"
[ "$(xwininfo -id "$wid" | awk '/^ *Height:/ {print $2}')" = 257 ] || fail "saved: the bar is still there"
ended
# an option that says where: no offer
rm -rf "$fresh"
XDG_CONFIG_HOME=$fresh window_start "$prog" --at "$at" --place Sapporo || { echo "FAIL: no window"; exit 1; }
sleep 1
[ "$(xwininfo -id "$wid" | awk '/^ *Height:/ {print $2}')" = 257 ] || fail "--place: the info bar is shown"
ended
[ ! -e "$fresh/tenmado/settings.ini" ] || fail "a run that saved nothing wrote the settings file"

[ "$fails" -eq 0 ] && echo "preferences window: all checks passed"
exit $((fails > 0))
