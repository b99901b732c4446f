#!/usr/bin/env bash
# A repaint as the running window makes it, once a second after a second of
# sleep, beside the same repaint made again at once: the tests' binary
# (TENMADO_TEST_REPAINT_CPU=2) under Xvfb at the real one-second tick
# writes the CPU of both; the medians show what the repaint costs with its
# code and data gone cold from the caches, and what the same work costs
# warm (as the benchmarks measure it).
#
# Usage: tools/repaint_cold.sh [path-to-tenmado_testhooks] [seconds]
#        (defaults: build/tests/tenmado_testhooks, 60)
# Needs: Xvfb, xdotool.
set -u
prog=${1:-build/tests/tenmado_testhooks}
seconds=${2:-60}
[ -x "$prog" ] || { echo "no program at $prog" >&2; exit 2; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$(dirname "$0")/../tests/scripts/lib/xvfb.bash"
unset DBUS_SESSION_BUS_ADDRESS
xvfb_start 1920x1200x24 || exit 1
TENMADO_TEST_REPAINT_CPU=2 window_start "$prog" || exit 1
sleep "$seconds"
window_quit 50
# the first repaints load fonts and fill the caches: left out
awk '
/^tenmado: repaint cpu / { if (++n > 3) cold[++c] = $4 }
/^tenmado: repaint again cpu / { if (n > 3) warm[++w] = $5 }
function median(a, k,   i, j, t) {
  for (i = 1; i <= k; ++i) for (j = i + 1; j <= k; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
  return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
}
END {
  if (c == 0 || w == 0) { print "no repaints counted" > "/dev/stderr"; exit 1 }
  printf "%d repaints, one a second; CPU of the repaint (medians)\n", c
  printf "as the window makes it (cold)      %8.0f us\n", median(cold, c)
  printf "the same again at once (warm)      %8.0f us\n", median(warm, w)
}' "$work/app.log"
