#!/usr/bin/env bash
# The window's memory over hundreds of repaints under Xvfb. The test tick
# (TENMADO_TEST_TICK_MS) drives the window: a tick every tick_ms, each one
# repaint that shows the clock one second on, so the repaints of minutes of
# real ticks take seconds; the program counts them on exit.
#  - Normal build: the resident size is sampled every sample_s; after a
#    warm-up it may not grow by more than rss_bound_kb (over several hundred
#    repaints: a leak of a few hundred bytes per repaint fails).
#  - AddressSanitizer build (the program links libasan): LeakSanitizer's
#    total of leaked bytes at exit is taken after a short run and after a
#    long one; the difference, the leak that grows with the repaints, must
#    stay under leak_bound_bytes (the toolkit's one-time leaks cancel out).
# TENMADO_WINDOW_SECONDS sets the seconds watched (default 10).
# Usage: window_memory.sh <path-to-tenmado_testhooks> <source-dir> (the
# program built with its test hooks)
set -u
prog=$1
src=$2
seconds=${TENMADO_WINDOW_SECONDS:-10}
tick_ms=20                # test tick: at most 50 repaints a second
sample_s=0.25             # RSS sampling period
warmup_s=3                # before the RSS reference
rss_bound_kb=256          # growth allowed after the warm-up
min_repaints=150          # fewer in the measured part: not enough to judge
short_s=1                 # the short run of the leak difference
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
export TENMADO_TEST_TICK_MS=$tick_ms

# start the program and wait for its window; the id into wid
start() { window_start "$prog" || { echo "FAIL: no window appeared"; exit 1; }; }

# close the window; the exit status into rc, the repaints of the test tick
# into ticks
stop() {
  window_quit 300 || fail "the program runs on after Ctrl+Q"
  ticks=$(sed -n 's/^tenmado: \([0-9]*\) test ticks$/\1/p' "$work/app.log")
  ticks=${ticks:-0}
}

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status" 2>/dev/null; }
mean() { awk '{ s += $1; n++ } END { if (n) printf "%d", s / n; else print 0 }'; }

if ldd "$prog" 2>/dev/null | grep -q libasan; then
  # ---- leak difference under LeakSanitizer
  leaked() {  # seconds -> bytes leaked at exit, into bytes
    # the libraries' caches for the life of the process are suppressed: a
    # font pattern more or less, as the texts change, is not a growing leak
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS=suppressions=$src/tests/lsan.supp:print_suppressions=0:exitcode=0
    start
    sleep "$1"
    kill -0 "$app_pid" 2>/dev/null || { fail "the program died"; cat "$work/app.log"; exit 1; }
    stop
    [ "$rc" -eq 0 ] || fail "exit status $rc after $1 s"
    grep -qE 'runtime error|ERROR: AddressSanitizer' "$work/app.log" && fail "sanitizer report"
    bytes=$(sed -n 's/^SUMMARY: AddressSanitizer: \([0-9]*\) byte(s) leaked.*/\1/p' "$work/app.log")
    bytes=${bytes:-0}
  }
  leaked "$short_s"; a=$bytes; ta=$ticks
  leaked "$seconds"; b=$bytes; tb=$ticks
  growth=$((b - a))
  echo "leaked at exit: $a bytes after $ta repaints, $b bytes after $tb repaints"
  [ $((tb - ta)) -ge "$min_repaints" ] ||
    fail "only $((tb - ta)) more repaints in the long run: not enough to judge"
  [ "$growth" -le "$leak_bound_bytes" ] ||
    fail "the leak grows with the repaints: $growth bytes over $((tb - ta)) repaints"
else
  # ---- resident size, sample by sample
  start
  samples=$(awk -v s="$seconds" -v p="$sample_s" 'BEGIN { printf "%d", s / p }')
  skip=$(awk -v w="$warmup_s" -v p="$sample_s" 'BEGIN { printf "%d", w / p }')
  window=$(( (samples - skip) / 4 ))  # samples averaged into the reference and the end
  : >"$work/rss"
  for i in $(seq "$samples"); do
    sleep "$sample_s"
    r=$(rss_kb)
    [ -n "$r" ] || { fail "the program died after $i samples"; cat "$work/app.log"; exit 1; }
    echo "$r" >>"$work/rss"
  done
  stop
  [ "$rc" -eq 0 ] || fail "exit status $rc after the window closed"
  first=$(head -n 1 "$work/rss")
  ref=$(sed -n "$((skip + 1)),$((skip + window))p" "$work/rss" | mean)
  end=$(tail -n "$window" "$work/rss" | mean)
  peak=$(sort -n "$work/rss" | tail -n 1)
  # repaints between the middles of the reference and the end, the ticks
  # taken as evenly spread over the run
  measured=$(( ticks * (samples - skip - window) / samples ))
  echo "RSS: $first kB at the start, $ref kB after the warm-up, $end kB at the end" \
       "(peak $peak kB); $ticks repaints in all, about $measured between reference and end"
  [ "$measured" -ge "$min_repaints" ] || fail "only about $measured repaints measured: not enough to judge"
  growth=$((end - ref))
  [ "$growth" -le "$rss_bound_kb" ] ||
    fail "RSS grew by $growth kB over about $measured repaints ($((growth * 1024 / (measured + 1))) bytes a repaint)"
fi

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; cat "$work/app.log"; exit 1; fi
echo "window_memory: all checks passed ($seconds s, display $DISPLAY)"
