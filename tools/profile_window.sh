#!/usr/bin/env bash
# Where the running window's time goes: the tests' binary (test tick: one
# second of the clock every TICK_MS) runs under Xvfb twice, first as it is
# (its CPU and the X server's from /proc, per repaint), then under callgrind
# (instructions per function); the instructions of a repaint are split into
# our computation, our Cairo drawing, Pango's text layout and GTK's frame
# machinery (the main loop's work besides the repaint: the frame, the copy
# of the picture to the window, events), and the shares turned into time
# with the CPU of the first run. The X server's share is its own CPU per
# repaint. (The first repaint, which loads the fonts, is in the counts.)
#
# Usage: tools/profile_window.sh [path-to-tenmado_testhooks] [ticks]
#        (defaults: build/tests/tenmado_testhooks, 300); GDK_SCALE=2 works.
# Needs: Xvfb, xdotool, valgrind (callgrind_annotate).
set -u
prog=${1:-build/tests/tenmado_testhooks}
count=${2:-300}
tick_ms=100
[ -x "$prog" ] || { echo "no program at $prog" >&2; exit 2; }
for tool in Xvfb xdotool valgrind callgrind_annotate; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
hz=1000000000  # ticks() counts ns
# shellcheck source=tests/scripts/lib/xvfb.bash
. "$(dirname "$0")/../tests/scripts/lib/xvfb.bash"
unset DBUS_SESSION_BUS_ADDRESS
# CPU time in ns over the process's threads (schedstat: finer than the
# 10 ms clock ticks of /proc/PID/stat)
ticks() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'; }
export TENMADO_TEST_TICK_MS=$tick_ms XDG_CONFIG_HOME=$work/config
at="2026-12-06 21:13:40"

xvfb_start 1920x1200x24 || exit 1
# ---- 1: as it is, count ticks
window_start "$prog" --at "$at" || exit 1
sleep 3
a0=$(ticks "$app_pid"); x0=$(ticks "$xvfb_pid")
sleep "$(awk -v n="$count" -v ms="$tick_ms" 'BEGIN {print n * ms / 1000}')"
a1=$(ticks "$app_pid"); x1=$(ticks "$xvfb_pid")
window_quit 50
# a tick waits for the repaint before it: the span holds count ticks when
# each repaint takes less than a tick
span_ticks=$count

# ---- 2: under callgrind (each repaint names its second: counted)
cg=$work/callgrind.out
TENMADO_TEST_HOLD=$work/no-hold window_start valgrind --tool=callgrind --callgrind-out-file="$cg" \
  "$prog" --at "$at" || exit 1
for _ in $(seq 3000); do
  [ "$(grep -c '^tenmado: painted' "$work/app.log")" -ge "$count" ] && break
  sleep 0.5
done
window_quit 600
kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=

callgrind_annotate --inclusive=yes --tree=calling "$cg" >"$work/annotate.txt" 2>/dev/null
[ -n "${KEEP_ANNOTATE:-}" ] && cp "$work/annotate.txt" "$KEEP_ANNOTATE"
[ -n "${KEEP_CALLGRIND:-}" ] && cp "$cg" "$KEEP_CALLGRIND"
awk -v a0="$a0" -v a1="$a1" -v x0="$x0" -v x1="$x1" -v hz="$hz" -v span="$span_ticks" '
# inclusive instructions of a function (its own line: "N (pct)  *  file:name")
function num(s) { gsub(",", "", s); return s + 0 }
# (a function may be listed twice, under two spellings of its file: once)
/^ *[0-9,]+ \([ 0-9.%]+\)  \*  / {
  v = num($1); name = $0; sub(/^.*\*  /, "", name); sub(/ \[[^]]*\]$/, "", name)
  key = name; sub(/^.*\.(cpp|h|c):/, "", key)
  if (key in seen) next
  seen[key] = 1
  if (name ~ /:Koyomi_Pla\(WSCbase\*\)/) repaint += v
  else if (name ~ /CairoPainter::(setColor|setLineWidth|fillRect|line|lines|arc|text|flush)\(/) painter += v
  else if (name ~ /^\?\?\?:g_main_context_dispatch$/) loop += v
  else if (name ~ /^\?\?\?:pango_layout_(get_unknown_glyphs_count|get_pixel_extents|set_text)$/) layout += v
  next
}
/^ *[0-9,]+ .*>   .*:Koyomi_Pla\(WSCbase\*\) \([0-9,]+x\)/ {
  c = $0; sub(/^.*Koyomi_Pla\(WSCbase\*\) \(/, "", c); sub(/x\).*$/, "", c); calls += num(c)
}
END {
  # Koyomi_Pla counts each repaint once; the painter calls lie inside it;
  # Pango layout inside the painter text calls
  comp = repaint - painter; draw = painter - layout; frame = loop - repaint
  total = comp + draw + layout + frame
  cpu_ms = 1000 * (a1 - a0) / hz / span; x_ms = 1000 * (x1 - x0) / hz / span
  printf "%d repaints under callgrind; %.2f ms of the program and %.2f ms of Xvfb per repaint (run 1)\n", calls, cpu_ms, x_ms
  printf "%-44s %14s %7s %10s\n", "part", "instr./repaint", "share", "ms/repaint"
  split("our computation (astronomy, panels, read-outs)|our Cairo drawing (painter, Cairo, glyphs)|Pango text layout|GTK frame machinery (main loop, frame, copy)", names, "|")
  part[1] = comp; part[2] = draw; part[3] = layout; part[4] = frame
  for (i = 1; i <= 4; ++i)
    printf "%-44s %14.0f %6.1f%% %10.2f\n", names[i], part[i] / calls, 100 * part[i] / total, cpu_ms * part[i] / total
  printf "%-44s %14s %7s %10.2f\n", "X server (Xvfb CPU)", "-", "-", x_ms
}' "$work/annotate.txt"
