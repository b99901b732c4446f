#!/bin/bash
# run.sh: the almanac's accuracy against a modern reference over 1900-2100.
# Usage: tools/planet_accuracy/run.sh [BUILD_DIR]   (default: build)
#   Configures BUILD_DIR with -DTENMADO_TOOLS=ON (keeping its other
#   settings; a new one without the window), builds the two value programs against the core library,
#   installs the reference (the npm package astronomy-engine, exactly as
#   package-lock.json pins it) and writes tools/planet_accuracy/out/ (ignored
#   by git); the tables go to out/summary.md and to stdout.
# Needs cmake, a C++ compiler, python3, node and npm. A few minutes on 2 cores.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
out=$here/out
mkdir -p "$out"

# Instants: every 1.3 days from 1900-01-01 0h UT to 2101-01-01 0h UT (the
# hour of the day turns with the step); events on every local date; new
# moons from FirstdayCal1 called every 20 days (each call looks 41 days back).
first=2415020.5
end=2488069.5

# A new build directory needs neither the window nor the benchmarks
fresh=()
[ -f "$build/CMakeCache.txt" ] || fresh=(-DTENMADO_GUI=OFF -DTENMADO_BENCH=OFF)
cmake -S "$root" -B "$build" "${fresh[@]}" -DTENMADO_TOOLS=ON > "$out/cmake.log"
cmake --build "$build" -j2 --target accuracy_values accuracy_values_zero_grids >> "$out/cmake.log"
tools=$build/tools/planet_accuracy
(cd "$here" && npm ci --no-audit --no-fund --silent)

# The reference's frame against published values, the summary's pairing
(cd "$here" && node check_reference.js > "$out/check_reference.log") || {
  cat "$out/check_reference.log"; exit 1; }
(cd "$here" && python3 -m unittest -q test_summary 2> "$out/test_summary.log") || {
  cat "$out/test_summary.log"; exit 1; }

"$tools/accuracy_values" positions $first 1.3 $end > "$out/positions.jsonl"
"$tools/accuracy_values_zero_grids" positions $first 1.3 $end > "$out/positions_zero.jsonl"
"$tools/accuracy_values" events $first 1 $end > "$out/events.jsonl"
"$tools/accuracy_values" newmoons $first 20 $end > "$out/newmoons.jsonl"

# The reference, two processes at a time
node "$here/reference.js" "$out/events.jsonl" > "$out/events_ref.jsonl" &
events_pid=$!
node "$here/reference.js" "$out/positions.jsonl" > "$out/positions_ref.jsonl"
node "$here/reference.js" "$out/newmoons.jsonl" > "$out/newmoons_ref.jsonl"
wait $events_pid

python3 "$here/summary.py" "$out" | tee "$out/summary.md"
