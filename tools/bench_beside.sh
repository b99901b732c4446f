#!/usr/bin/env bash
# The benchmarks of another commit beside today's, in one run: the commit is
# checked out in a temporary git worktree with its own build directory, its
# benchmark program built there (today's is built in the given build
# directory), and the two programs are run in turn, repetition by
# repetition, so both see the same load. Prints the median CPU time of each
# benchmark of both and their ratio.
#
# Usage: tools/bench_beside.sh COMMIT [build-dir] [repetitions] [filter]
#        (defaults: build, 9, the routines the repaint leans on and the repaint:
#         Disp4, Tide_Cal, the repaint into the recorder and into Cairo)
#        KEEP=1 keeps the temporary worktree and its build (the path is printed);
#        OLD_BUILD=dir reuses such a build instead of making one.
# Needs: git, cmake, Google Benchmark, python3. Builds with -j2.
set -euo pipefail
commit=${1:?usage: tools/bench_beside.sh COMMIT [build-dir] [repetitions] [filter]}
build=${2:-build}
reps=${3:-9}
filter=${4:-'^BM_Disp4$|^BM_Tide_Cal$|^BM_Koyomi_Pla_Null$|^BM_Koyomi_Pla_Cairo/batch:1$'}
src=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)

tmp=$(mktemp -d)
cleanup() {
  if [ "${KEEP:-0}" = 1 ]; then echo "kept: $tmp" >&2; return; fi
  git -C "$src" worktree remove --force "$tmp/src" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

old_build=${OLD_BUILD:-}
if [ -z "$old_build" ]; then
  git -C "$src" worktree add --detach "$tmp/src" "$commit" >/dev/null 2>&1
  old_build=$tmp/build
  cmake -S "$tmp/src" -B "$old_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DTENMADO_BENCH=ON >/dev/null
  cmake --build "$old_build" -j2 --target tenmado_bench >/dev/null
fi
[ -d "$build" ] || cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j2 --target tenmado_bench >/dev/null

# one repetition of each program at a time, alternating, into JSON files
for ((i = 0; i < reps; ++i)); do
  for side in old new; do
    prog=$old_build/bench/tenmado_bench
    [ "$side" = new ] && prog=$build/bench/tenmado_bench
    "$prog" --benchmark_filter="$filter" --benchmark_format=json \
            >"$tmp/$side.$i.json" 2>/dev/null
  done
done

python3 - "$tmp" "$reps" "$commit" "$(git -C "$src" rev-parse --short HEAD)" <<'EOF'
import json, statistics, sys
tmp, reps, old_name, new_name = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
def times(side):
    out = {}
    for i in range(reps):
        for b in json.load(open(f"{tmp}/{side}.{i}.json"))["benchmarks"]:
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            out.setdefault(b["name"], []).append(b["cpu_time"] * scale)
    return out
old, new = times("old"), times("new")
print(f"medians of {reps} runs, CPU time in microseconds")
print(f"{'benchmark':34} {old_name[:12]:>12} {new_name + ' (today)':>18} {'today/old':>10}")
for name in list(dict.fromkeys(list(old) + list(new))):
    o = statistics.median(old[name]) if name in old else None
    n = statistics.median(new[name]) if name in new else None
    ratio = f"{n / o:.3f}" if o and n else "-"
    fmt = lambda v: f"{v:.2f}" if v is not None else "-"
    print(f"{name:34} {fmt(o):>12} {fmt(n):>18} {ratio:>10}")
EOF
