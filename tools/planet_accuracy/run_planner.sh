#!/usr/bin/env bash
# The planner's accuracy over 1901-2100, densely sampled: twilight at 35 and
# 60 degrees north every 10th date, every phase of the Moon, the illuminated
# fraction every 1.3 days, against astronomy-engine (docs/ACCURACY.md,
# "Twilight, phases and the Moon's light"). About 2 minutes.
# Usage (repository root): tools/planet_accuracy/run_planner.sh [BUILD_DIR]
# BUILD_DIR holds a built core_tests (default: build).
set -euo pipefail
cd "$(dirname "$0")"
build=$(cd ../.. && realpath "${1:-build}")
[ -d node_modules/astronomy-engine ] || npm ci
mkdir -p out
node planner_reference.js --dense >out/planner_dense.txt
TENMADO_PLANNER_REFERENCE=$PWD/out/planner_dense.txt \
  "$build/tests/core_tests" --gtest_filter='PlannerReference.*' | tee out/planner_summary.txt
