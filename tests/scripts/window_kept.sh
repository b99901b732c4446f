#!/usr/bin/env bash
# The kept picture: the window repaints only what changed from one second to
# the next, and still shows, at every second, the whole picture of that
# second. The window's clock runs fast (TENMADO_TEST_TICK_MS: one second a
# tick) over a minute's boundary, an hour's boundary and midnight; at 20
# seconds picked at random the ticks are held (TENMADO_TEST_HOLD), the
# window captured, and the capture must be the snapshot of the second the
# window says it painted, pixel for pixel. At scale 1 and GDK_SCALE=2, with
# the kept picture (TENMADO_TEST_KEPT_PICTURE) and with every repaint whole
# (drawn by the tick at once, and at scale 1 also through GTK's frame cycle,
# TENMADO_TEST_FRAME_CYCLE);
# over the hour's boundary the view is turned by 15 degrees (→) while the
# clock runs, and the captures after it are the snapshots --azimuth 15.
# Usage: window_kept.sh <path-to-tenmado_testhooks> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xwininfo import convert compare identify; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
hold=$work/hold
export TENMADO_TEST_TICK_MS=60 TENMADO_TEST_HOLD=$hold

xvfb_start 1600x1200x24 || { echo "FAIL: no Xvfb display could be started"; exit 1; }

# the boundaries: 6 or 7 captures from a few seconds before each
starts=("2026-12-06 21:13:52" "2027-03-21 05:59:53" "2027-06-21 23:59:52")
n=0
# run MODE SCALE: captures of one program (MODE kept, full or cycle)
run() {
  local mode=$1 scale=$2 i k count painted az
  for i in 0 1 2; do
    count=$(( i == 2 ? 6 : 7 ))
    rm -f "$hold"
    if [ "$mode" = kept ]; then
      window_start env TENMADO_TEST_KEPT_PICTURE=1 GDK_SCALE="$scale" "$prog" --at "${starts[$i]}"
    elif [ "$mode" = cycle ]; then
      window_start env TENMADO_TEST_FRAME_CYCLE=1 GDK_SCALE="$scale" "$prog" --at "${starts[$i]}"
    else
      window_start env GDK_SCALE="$scale" "$prog" --at "${starts[$i]}"
    fi || { fail "$mode, scale $scale: no window"; return; }
    az=0
    for k in $(seq "$count"); do
      if [ "$i" = 1 ] && [ "$k" = 3 ]; then
        # the view turned between two ticks: the whole sky changes
        xdotool windowfocus --sync "$wid" 2>/dev/null
        xdotool key Right
        az=15
      fi
      # a random 1 to 4 ticks on, then held still
      sleep "$(printf '0.%02d' $(( RANDOM % 18 + 6 )))"
      touch "$hold"
      sleep 0.25
      painted=$(sed -n 's/^tenmado: painted //p' "$work/app.log" | tail -n 1)
      [ -n "$painted" ] || { fail "$mode, scale $scale: no repaint named"; rm -f "$hold"; continue; }
      n=$((n + 1))
      import -window "$wid" -depth 8 PNG24:"$work/cap$n.png" 2>/dev/null ||
        fail "$mode, scale $scale: capture at $painted"
      printf '%s\t%s\t%s\t%s\n' "$n" "$scale" "$painted" "$az" >>"$work/captures"
      echo "$mode" >"$work/mode$n"
      rm -f "$hold"
    done
    window_quit 50 || fail "$mode, scale $scale: the program runs on after Ctrl+Q"
  done
}
run kept 1
run kept 2
run full 1
run full 2
run cycle 1

# each capture against the snapshot of its second (the window shows the
# picture's top part, as large as the window)
check() {
  local id=$1 scale=$2 at=$3 az=$4 size ae
  size=$(identify -format '%wx%h' "$work/cap$id.png") || { echo "FAIL: capture $id unreadable"; return; }
  "$prog" --snapshot "$work/snap$id.png" --scale "$scale" --at "$at" --azimuth "$az" ||
    { echo "FAIL: snapshot at $at"; return; }
  convert "$work/snap$id.png" -crop "$size+0+0" +repage PNG24:"$work/snapc$id.png"
  ae=$(compare -metric AE "$work/cap$id.png" "$work/snapc$id.png" null: 2>&1)
  [ "$ae" = 0 ] ||
    echo "FAIL: $(cat "$work/mode$id") picture, scale $scale, $at, azimuth $az: $ae pixels differ from the snapshot"
}
pids=()
seconds=$(cut -f3 "$work/captures" | sort -u | wc -l)
[ "$n" -ge 80 ] || fail "only $n captures of 80"
[ "$seconds" -ge 15 ] || fail "only $seconds different seconds captured"
# two at a time (wait names the checks: a bare wait would wait for Xvfb)
while IFS=$'\t' read -r id scale at az; do
  check "$id" "$scale" "$at" "$az" &
  pids+=("$!")
  if [ ${#pids[@]} -ge 2 ]; then wait "${pids[@]}"; pids=(); fi
done <"$work/captures" >"$work/checks"
[ ${#pids[@]} -eq 0 ] || wait "${pids[@]}"
while read -r line; do fail "${line#FAIL: }"; done < <(grep '^FAIL' "$work/checks")

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; tail -n 20 "$work/app.log"; exit 1; fi
echo "window_kept: $n captures over $seconds seconds, each the snapshot of its second (display $DISPLAY)"
