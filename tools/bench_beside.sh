#!/usr/bin/env bash
# The benchmarks of other commits beside today's, in one run: each commit
# is checked out in a temporary git worktree with its own build directory,
# its benchmark program built there (today's is built in the given build
# directory), and the programs are run in turn, repetition by repetition,
# so all see the same load. Prints the median CPU time of each benchmark of
# each and today's ratio to the first commit's.
#
# Usage: tools/bench_beside.sh COMMIT[,COMMIT...] [build-dir] [repetitions] [filter]
#        (defaults: build, 9, the routines the repaint leans on and the repaint:
#         Disp4, Tide_Cal, the repaint into the recorder and into Cairo)
#        KEEP=1 keeps the temporary worktrees and their builds (the path is printed);
#        OLD_BUILD=dir[,dir...] reuses such builds (one a commit) instead of making them.
# Needs: git, cmake, Google Benchmark, python3. Builds with -j2.
set -euo pipefail
IFS=, read -r -a commits <<<"${1:?usage: tools/bench_beside.sh COMMIT[,COMMIT...] [build-dir] [repetitions] [filter]}"
build=${2:-build}
reps=${3:-9}
filter=${4:-'^BM_Disp4$|^BM_Tide_Cal$|^BM_Koyomi_Pla_Null$|^BM_Koyomi_Pla_Cairo/batch:1$'}
src=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)

tmp=$(mktemp -d)
cleanup() {
  if [ "${KEEP:-0}" = 1 ]; then echo "kept: $tmp" >&2; return; fi
  for i in "${!commits[@]}"; do git -C "$src" worktree remove --force "$tmp/src$i" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

IFS=, read -r -a reuse <<<"${OLD_BUILD:-}"
builds=()
for i in "${!commits[@]}"; do
  if [ -n "${reuse[$i]:-}" ]; then builds+=("${reuse[$i]}"); continue; fi
  git -C "$src" worktree add --detach "$tmp/src$i" "${commits[$i]}" >/dev/null 2>&1
  cmake -S "$tmp/src$i" -B "$tmp/build$i" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DTENMADO_BENCH=ON >/dev/null
  cmake --build "$tmp/build$i" -j2 --target tenmado_bench >/dev/null
  builds+=("$tmp/build$i")
done
[ -d "$build" ] || cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j2 --target tenmado_bench >/dev/null
builds+=("$build")

# one repetition of each program at a time, in turn, into JSON files
for ((r = 0; r < reps; ++r)); do
  for i in "${!builds[@]}"; do
    "${builds[$i]}/bench/tenmado_bench" --benchmark_filter="$filter" --benchmark_format=json \
      >"$tmp/side$i.$r.json" 2>/dev/null
  done
done

python3 - "$tmp" "$reps" "${#builds[@]}" "${commits[@]}" "$(git -C "$src" rev-parse --short HEAD)" <<'EOF'
import json, statistics, sys
tmp, reps, n = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
names = sys.argv[4:4 + n - 1] + [sys.argv[4 + n - 1] + " (today)"]
def times(i):
    out = {}
    for r in range(reps):
        for b in json.load(open(f"{tmp}/side{i}.{r}.json"))["benchmarks"]:
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            out.setdefault(b["name"], []).append(b["cpu_time"] * scale)
    return out
sides = [times(i) for i in range(n)]
print(f"medians of {reps} runs, CPU time in microseconds")
print(f"{'benchmark':34}" + "".join(f"{nm[:18]:>20}" for nm in names) + f"{'today/first':>13}")
bench = list(dict.fromkeys(k for side in sides for k in side))
for name in bench:
    med = [statistics.median(side[name]) if name in side else None for side in sides]
    cells = "".join(f"{m:>20.2f}" if m is not None else f"{'-':>20}" for m in med)
    ratio = f"{med[-1] / med[0]:.3f}" if med[0] and med[-1] else "-"
    print(f"{name:34}{cells}{ratio:>13}")
EOF
