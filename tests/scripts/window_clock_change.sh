#!/usr/bin/env bash
# The running window across a change of the clocks (London, 2026-03-29:
# 00:59:59 GMT is followed by 02:00:00 BST) under Xvfb. The test tick moves
# the window's clock a second a tick; every capture of the window is, pixel
# for pixel, the snapshot of one second of the run, the seconds in order,
# and the window shows seconds on both sides of the change. The snapshots'
# date lines (the almanac's, of the same seconds) jump from 00:59:59 to
# 02:00:00 between two seconds of time; the hour that does not exist
# (01:00:00 GMT+0 shown as such) is never what the window shows.
# Usage: window_clock_change.sh <path-to-tenmado_testhooks> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool import convert compare python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
unset WAYLAND_DISPLAY
export NO_AT_BRIDGE=1
where=(--lat 51.5 --lon -0.13 --zone Europe/London)

# the window shows the picture's top 530 x 257 (its stated size)
# the seconds of the run, in order: 00:59:50 to 00:59:59 GMT, then
# 02:00:00 to 02:00:29 BST (40 seconds of time)
seconds=()
for s in $(seq 50 59); do seconds+=("2026-03-29 00:59:$s"); done
for s in $(seq 0 29); do seconds+=("$(printf '2026-03-29 02:00:%02d' "$s")"); done
for k in "${!seconds[@]}"; do
  "$prog" "${where[@]}" --at "${seconds[$k]}" --snapshot "$work/s$k.png" ||
    { echo "FAIL: snapshot of ${seconds[$k]}"; exit 1; }
  convert "$work/s$k.png" -crop 530x257+0+0 +repage PNG24:"$work/s$k.png"
done

# the date lines: one second of time apart across the change
line() { "$prog" "${where[@]}" --at "$1" --almanac | head -n 1; }
before=$(line "2026-03-29 00:59:59") after=$(line "2026-03-29 02:00:00")
case "$before|$after" in
  *"2026/03/29 00:59:59"*"|"*"2026/03/29 02:00:00"*) ;;
  *) fail "the date lines across the change: '$before' then '$after'" ;;
esac
jd() { sed -n 's/.*ユリウス通日 *\([0-9.]*\).*/\1/p' <<<"$1"; }
[ "$(python3 -c "print(round((float('$(jd "$after")') - float('$(jd "$before")')) * 86400))")" = 1 ] ||
  fail "00:59:59 GMT and 02:00:00 BST are not one second apart: $(jd "$before") $(jd "$after")"
# the hour skipped, drawn as if the clocks had not changed: another picture
"$prog" --lat 51.5 --lon -0.13 --zone 0 --at "2026-03-29 01:00:05" --snapshot "$work/gmt.png"
convert "$work/gmt.png" -crop 530x257+0+0 +repage PNG24:"$work/gmt.png"
[ "$(compare -metric AE "$work/gmt.png" "$work/s15.png" null: 2>&1)" != 0 ] ||
  fail "01:00:05 GMT and 02:00:05 BST draw the same picture: the check sees nothing"

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }
TENMADO_TEST_TICK_MS=500 window_start "$prog" "${where[@]}" --at "2026-03-29 00:59:52" ||
  { echo "FAIL: no window"; exit 1; }
# each capture the snapshot of a second not before the last one's
last=0 first_after= last_before= n=0
for c in $(seq 24); do
  sleep 0.45
  import -window "$wid" -depth 8 PNG24:"$work/c.png" 2>/dev/null || { fail "capture $c"; continue; }
  n=$((n + 1))
  found=
  for k in $(seq "$last" $((${#seconds[@]} - 1))); do
    if [ "$(compare -metric AE "$work/c.png" "$work/s$k.png" null: 2>&1)" = 0 ]; then
      found=$k
      break
    fi
  done
  if [ -z "$found" ]; then
    cp "$work/c.png" "/tmp/tenmado-clock-change-$c.png" 2>/dev/null
    fail "capture $c is the snapshot of no second from ${seconds[$last]} on"
    continue
  fi
  last=$found
  if [ "$found" -lt 10 ]; then last_before=$found; else first_after=${first_after:-$found}; fi
done
[ -n "$last_before" ] && [ -n "$first_after" ] ||
  fail "the window was not seen on both sides of the change (before: ${last_before:-none}, after: ${first_after:-none})"
window_quit || fail "the window did not end"

[ "$fails" -eq 0 ] && echo "window across a change of the clocks: $n captures, all checks passed"
exit $((fails > 0))
