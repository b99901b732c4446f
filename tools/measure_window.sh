#!/usr/bin/env bash
# Cost of the running window: start one or more builds of the program under
# one Xvfb, with xclock beside them (an analog clock with a seconds hand,
# xclock -update 1) when it is installed, let them all run for a while,
# and read each one's CPU time and resident memory from /proc. Prints, per
# program, the CPU it used per second of wall time, its share of one core
# and its ratio to xclock's; the X server's share is printed below (it
# serves them all: run one program at a time to see its share alone).
#
# Usage: tools/measure_window.sh [PROGRAM...] [SECONDS]
#        (defaults: build/tenmado, 60; a number is the seconds)
#        GDK_SCALE=2 tools/measure_window.sh ...  the windows on a HiDPI screen
#        (1060 x 514 device pixels each; the screen is 3840 x 2160)
#        REPEAT=N: N runs, each line of each run, then the medians
# Needs: Xvfb, xdotool, xwininfo; xclock from Debian's x11-apps (optional:
# apt-get install x11-apps). Run it with nothing else busy on the machine.
set -u
progs=()
seconds=60
for a in "$@"; do
  if [[ $a =~ ^[0-9]+$ ]]; then seconds=$a; else progs+=("$a"); fi
done
[ ${#progs[@]} -gt 0 ] || progs=(build/tenmado)
for p in "${progs[@]}"; do [ -x "$p" ] || { echo "no program at $p" >&2; exit 2; }; done
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
have_xclock=0
command -v xclock >/dev/null && have_xclock=1
[ $have_xclock = 1 ] || echo "xclock is not installed (apt-get install x11-apps): no comparison" >&2
hz=1000000000  # ticks() counts ns
repeat=${REPEAT:-1}

# shellcheck source=tests/scripts/lib/xvfb.bash
. "$(dirname "$0")/../tests/scripts/lib/xvfb.bash"
# plain instances side by side: no session bus, so no single instance
unset DBUS_SESSION_BUS_ADDRESS

# CPU time in ns, summed over the process's threads: the first field of
# /proc/PID/task/*/schedstat (the clock ticks of /proc/PID/stat, 10 ms,
# are too coarse for a clock that uses a few ms a minute)
ticks() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
now() { date +%s.%N; }

run_once() {
  local pids=() names=() i p
  xvfb_start 3840x2160x24 || exit 1
  for p in "${progs[@]}"; do
    XDG_CONFIG_HOME=$work/config window_start "$p" || exit 1
    pids+=("$app_pid"); names+=("$p")
  done
  if [ $have_xclock = 1 ]; then
    xclock -update 1 >"$work/xclock.log" 2>&1 &
    pids+=("$!"); names+=("xclock -update 1")
  fi
  # start-up (fonts, the first repaints) is not part of the steady state
  sleep 3
  local t0 x0 a0=() r0=()
  t0=$(now); x0=$(ticks "$xvfb_pid")
  for i in "${!pids[@]}"; do a0+=("$(ticks "${pids[$i]}")"); r0+=("$(rss_kib "${pids[$i]}")"); done
  sleep "$seconds"
  local t1 x1
  t1=$(now); x1=$(ticks "$xvfb_pid")
  for i in "${!pids[@]}"; do
    kill -0 "${pids[$i]}" 2>/dev/null || { echo "${names[$i]} ended" >&2; exit 1; }
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "${names[$i]}" "${a0[$i]}" "$(ticks "${pids[$i]}")" \
           "${r0[$i]}" "$(rss_kib "${pids[$i]}")" "$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')"
  done
  printf 'Xvfb\t%s\t%s\t0\t0\t%s\n' "$x0" "$x1" "$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')"
  for i in "${!pids[@]}"; do kill "${pids[$i]}" 2>/dev/null; wait "${pids[$i]}" 2>/dev/null; done
  app_pid=
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
}

echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo); load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$seconds s per run, $repeat run(s), GDK_SCALE=${GDK_SCALE:-unset}"
for ((r = 1; r <= repeat; ++r)); do run_once; done >"$work/runs.tsv"
awk -F'\t' -v hz="$hz" -v runs="$repeat" '
function median(list,   n, a, i, j, t) {
  n = split(list, a, " ")
  for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
  return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
{
  ms = 1000 * ($3 - $2) / hz / $6
  if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 }
  all[$1] = all[$1] " " ms
  rss[$1] = $4 " -> " $5 " KiB"
}
END {
  x = ("xclock -update 1" in seen) ? median(all["xclock -update 1"]) : 0
  printf "%-40s %14s %10s %12s  %s\n", "program", "CPU ms per s", "% of core", "x xclock", (runs > 1 ? "runs (ms per s)" : "RSS start -> end")
  for (i = 1; i <= n; ++i) {
    p = order[i]; m = median(all[p])
    ratio = (x > 0 && p != "Xvfb") ? sprintf("%.1f", m / x) : "-"
    printf "%-40s %14.2f %10.2f %12s  %s\n", p, m, m / 10, ratio, (runs > 1 ? all[p] : (p == "Xvfb" ? "" : rss[p]))
  }
}' "$work/runs.tsv"
