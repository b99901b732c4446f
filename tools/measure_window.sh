#!/usr/bin/env bash
# Cost of the running window: start the program under Xvfb, let it repaint
# once a second for a while, and read its CPU time and resident memory from
# /proc. Prints the share of one core (user + system time over wall time)
# and the resident set at the start, every 10 s and at the end; the X
# server's share is printed beside it (it receives every repainted picture).
#
# Usage: tools/measure_window.sh [path-to-tenmado] [seconds]
#        (defaults: build/tenmado, 60)
# Needs: Xvfb, xdotool. Run it with nothing else busy on the machine.
set -u
prog=${1:-build/tenmado}
seconds=${2:-60}
[ -x "$prog" ] || { echo "no program at $prog" >&2; exit 2; }
for tool in Xvfb xdotool getconf; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
hz=$(getconf CLK_TCK)

work=$(mktemp -d /tmp/tenmado-measure.XXXXXX)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# CPU ticks (utime + stime, fields 14 and 15 of /proc/PID/stat; the command
# name in field 2 may hold spaces, so count from after its closing bracket)
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
now() { date +%s.%N; }

# a display Xvfb picks itself (-displayfd), kept up between clients (-noreset)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

"$prog" >"$work/app.log" 2>&1 &
app_pid=$!
wid=
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name '^天窓$' 2>/dev/null | head -n 1)
  [ -n "$wid" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$wid" ] || { echo "no window appeared" >&2; cat "$work/app.log" >&2; exit 1; }
# start-up (fonts, the first repaints) is not part of the steady state
sleep 3

t0=$(now)
a0=$(ticks "$app_pid")
x0=$(ticks "$xvfb_pid")
r0=$(rss_kib "$app_pid")
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"
echo "program: $prog (pid $app_pid) on DISPLAY $DISPLAY, $seconds s"
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
