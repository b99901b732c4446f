#!/usr/bin/env bash
# Cost of the running window: start the program under Xvfb, let it repaint
# once a second for a while, and read its CPU time and resident memory from
# /proc. Prints the share of one core (user + system time over wall time)
# and the resident set at the start, every 10 s and at the end; the X
# server's share is printed beside it (it receives every repainted picture).
#
# Usage: tools/measure_window.sh [path-to-tenmado] [seconds]
#        (defaults: build/tenmado, 60)
#        GDK_SCALE=2 tools/measure_window.sh ...  the window on a HiDPI screen
#        (1060 x 514 device pixels; the screen is 1920 x 1200, so it fits)
# Needs: Xvfb, xdotool, xwininfo. Run it with nothing else busy on the machine.
set -u
prog=${1:-build/tenmado}
seconds=${2:-60}
[ -x "$prog" ] || { echo "no program at $prog" >&2; exit 2; }
for tool in Xvfb xdotool xwininfo getconf; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
hz=$(getconf CLK_TCK)

# shellcheck source=tests/scripts/lib/xvfb.bash
. "$(dirname "$0")/../tests/scripts/lib/xvfb.bash"

# CPU ticks (utime + stime, fields 14 and 15 of /proc/PID/stat; the command
# name in field 2 may hold spaces, so count from after its closing bracket)
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
now() { date +%s.%N; }

xvfb_start 1920x1200x24 || exit 1
window_start "$prog" || exit 1
# start-up (fonts, the first repaints) is not part of the steady state
sleep 3

t0=$(now)
a0=$(ticks "$app_pid")
x0=$(ticks "$xvfb_pid")
r0=$(rss_kib "$app_pid")
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"
echo "program: $prog (pid $app_pid) on DISPLAY $DISPLAY, $seconds s, GDK_SCALE=${GDK_SCALE:-unset}"
echo "window: $(xwininfo -id "$wid" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w " x " h}')"
printf '%6s %10s\n' "t/s" "RSS/KiB"
printf '%6d %10d\n' 0 "$r0"
elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
  step=$(( seconds - elapsed < 10 ? seconds - elapsed : 10 ))
  sleep "$step"
  elapsed=$((elapsed + step))
  kill -0 "$app_pid" 2>/dev/null || { echo "the program ended" >&2; exit 1; }
  printf '%6d %10d\n' "$elapsed" "$(rss_kib "$app_pid")"
done
t1=$(now)
a1=$(ticks "$app_pid")
x1=$(ticks "$xvfb_pid")
r1=$(rss_kib "$app_pid")

awk -v t0="$t0" -v t1="$t1" -v a0="$a0" -v a1="$a1" -v x0="$x0" -v x1="$x1" \
    -v hz="$hz" -v r0="$r0" -v r1="$r1" 'BEGIN {
  wall = t1 - t0
  printf "wall %.1f s; program CPU %.2f s = %.2f %% of one core; Xvfb CPU %.2f s = %.2f %%\n",
         wall, (a1 - a0) / hz, 100 * (a1 - a0) / hz / wall, (x1 - x0) / hz, 100 * (x1 - x0) / hz / wall
  printf "RSS start %d KiB, end %d KiB, change %+d KiB\n", r0, r1, r1 - r0
}'
