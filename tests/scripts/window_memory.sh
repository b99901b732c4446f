#!/usr/bin/env bash
# The window's memory over many repaint ticks (one a second) under Xvfb.
#  - Normal build: the resident size is sampled every tick; after a warm-up
#    it may not grow by more than rss_bound_kb over the ticks watched.
#  - AddressSanitizer build (the program links libasan): LeakSanitizer's
#    total of leaked bytes at exit is taken after a short run and after a
#    long one; the difference, the leak that grows with the ticks, must stay
#    under leak_bound_bytes (the toolkit's one-time leaks cancel out).
# TENMADO_WINDOW_SECONDS sets the ticks watched (default 75).
# Usage: window_memory.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
ticks=${TENMADO_WINDOW_SECONDS:-75}
warmup=15                 # ticks before the first RSS reference
window=10                 # ticks averaged into the reference and the end
rss_bound_kb=256          # growth allowed after the warm-up
short_ticks=5             # the short run of the leak difference
leak_bound_bytes=1024     # growth of the leaked total allowed over the long run
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$here/lib/xvfb.bash"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

xvfb_start || { echo "FAIL: no Xvfb display could be started"; exit 1; }

# start the program and wait for its window; the id into wid
start() { window_start "$prog" || { echo "FAIL: no window appeared"; exit 1; }; }

# close the window; the exit status into rc
stop() { window_close 300 || fail "the program runs on after its window closed"; }

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status" 2>/dev/null; }
mean() { awk '{ s += $1; n++ } END { if (n) printf "%d", s / n; else print 0 }'; }

if ldd "$prog" 2>/dev/null | grep -q libasan; then
  # ---- leak difference under LeakSanitizer
  leaked() {  # ticks -> bytes leaked at exit, into bytes
    # the libraries' caches for the life of the process are suppressed: a
    # font pattern more or less, as the texts change, is not a growing leak
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS=suppressions=$src/tests/lsan.supp:print_suppressions=0:exitcode=0
    start
    sleep "$1"
    kill -0 "$app_pid" 2>/dev/null || { fail "the program died"; cat "$work/app.log"; exit 1; }
    stop
    [ "$rc" -eq 0 ] || fail "exit status $rc after $1 ticks"
    grep -qE 'runtime error|ERROR: AddressSanitizer' "$work/app.log" && fail "sanitizer report"
    bytes=$(sed -n 's/^SUMMARY: AddressSanitizer: \([0-9]*\) byte(s) leaked.*/\1/p' "$work/app.log")
    bytes=${bytes:-0}
  }
  leaked "$short_ticks"; a=$bytes
  leaked "$ticks"; b=$bytes
  growth=$((b - a))
  echo "leaked at exit: $a bytes after $short_ticks ticks, $b bytes after $ticks ticks"
  [ "$growth" -le "$leak_bound_bytes" ] ||
    fail "the leak grows with the ticks: $growth bytes over $((ticks - short_ticks)) ticks"
else
  # ---- resident size, tick by tick
  start
  : >"$work/rss"
  for i in $(seq "$ticks"); do
    sleep 1
    r=$(rss_kb)
    [ -n "$r" ] || { fail "the program died after $i ticks"; cat "$work/app.log"; exit 1; }
    echo "$r" >>"$work/rss"
  done
  first=$(head -n 1 "$work/rss")
  ref=$(sed -n "$((warmup + 1)),$((warmup + window))p" "$work/rss" | mean)
  end=$(tail -n "$window" "$work/rss" | mean)
  peak=$(sort -n "$work/rss" | tail -n 1)
  echo "RSS: $first kB after 1 tick, $ref kB after $((warmup + window / 2)) ticks," \
       "$end kB after $((ticks - window / 2)) ticks (peak $peak kB)"
  [ $((end - ref)) -le "$rss_bound_kb" ] ||
    fail "RSS grew by $((end - ref)) kB over $((ticks - warmup - window)) ticks"
  stop
  [ "$rc" -eq 0 ] || fail "exit status $rc after the window closed"
fi

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; cat "$work/app.log"; exit 1; fi
echo "window_memory: all checks passed ($ticks ticks, display $DISPLAY)"
