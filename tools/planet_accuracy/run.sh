#!/bin/bash
# run.sh: accuracy figure of the Jupiter and Saturn perturbation grids.
# Usage: tools/planet_accuracy/run.sh BUILD_DIR
#   BUILD_DIR is a build of the program (cmake -DTENMADO_GUI=OFF is enough):
#   the libraries of the folders, which make the core library, are linked.
# Writes tools/planet_accuracy/out/ (ignored by git) and prints the summary.
# The reference is the npm package astronomy-engine, used by this tool only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:?usage: run.sh BUILD_DIR}
out=$here/out
mkdir -p "$out"

(cd "$here" && npm install --no-audit --no-fund --silent)
node "$here/reference.js" > "$out/reference.tsv"

# The same positions with all-zero grids (Saturn's at +50): a copy of the
# generated file with every entry replaced, linked ahead of the library.
python3 - "$root/ephem/perturbation_grids.cpp" "$out/zero_grids.cpp" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
def blank(m):
    fill = "50" if m.group(1).startswith("Sat") else "0"
    return m.group(0).split("=")[0] + "= {" + re.sub(r"-?\d+", fill, m.group(2)) + "};"
open(sys.argv[2], "w").write(
    re.sub(r"const double (\w+)\[37\]\[37\] = \{(.*?)\};", blank, text, flags=re.S)
    .replace("// B = ", "// row "))
PY

flags=(-std=c++20 -O2 -ffp-contract=off -I"$root")
core=("$build/app/core/libtenmado_app.a" "$build/panels/libtenmado_panels.a"
      "$build/app/toolkit/libtenmado_toolkit.a" "$build/events/libtenmado_events.a"
      "$build/ephem/libtenmado_ephem.a" "$build/timecal/libtenmado_timecal.a")
c++ "${flags[@]}" "$here/positions.cpp" "${core[@]}" -o "$out/positions"
c++ "${flags[@]}" "$here/positions.cpp" "$out/zero_grids.cpp" "${core[@]}" \
    -o "$out/positions_zero"
"$out/positions" "$out/reference.tsv" > "$out/grids.tsv"
"$out/positions_zero" "$out/reference.tsv" > "$out/zero.tsv"
python3 "$here/summary.py" "$out/reference.tsv" "$out/grids.tsv" "$out/zero.tsv"
