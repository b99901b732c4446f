#!/usr/bin/env bash
# The folders include only what their floor builds on, as the libraries
# link it (docs/ARCHITECTURE.md):
#   timecal        nothing else
#   ephem          timecal
#   events         ephem, timecal
#   tides          ephem, timecal
#   places         timecal
#   toolkit        nothing else (the drawing facade)
#   panels         events, ephem, timecal, toolkit
#   app            everything above (the application floor)
#   shell/cairo    app and everything below it
#   shell/gtk      shell/cairo and everything below it
#   shell          (main.cpp, the roof) everything
# A header of a higher floor included by a lower one would tie the floors
# back together (inline constants and declarations compile without any link
# to show it). Every folder of the program must be declared here. Besides,
# no two files include each other, directly or around a circle: a file and
# its header count as one unit (x.h, x.cpp), and a unit that includes a
# unit that (through others) includes it back fails.
# Usage: module_boundaries.sh <path-to-tenmado> <source-dir>
set -u
exec python3 - "$2" <<'EOF'
import os, re, sys

src = sys.argv[1]
core = ["timecal", "ephem", "events", "tides", "places"]
below_app = core + ["toolkit", "panels"]
allowed = {
    "timecal": ["timecal"],
    "ephem": ["ephem", "timecal"],
    "events": ["events", "ephem", "timecal"],
    "tides": ["tides", "ephem", "timecal"],
    "places": ["places", "timecal"],
    "toolkit": ["toolkit"],
    "panels": ["panels", "events", "ephem", "timecal", "toolkit"],
    "app": ["app"] + below_app,
    "shell/cairo": ["shell/cairo", "app"] + below_app,
    "shell/gtk": ["shell/gtk", "shell/cairo", "app"] + below_app,
    "shell": ["shell", "shell/cairo", "shell/gtk", "app"] + below_app,
}
outside = ("tests", "bench", "tools", "build", "docs", "scripts")

include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
fails = 0
units = {}  # unit (path without extension) -> units it includes
for root, dirs, files in os.walk(src):
    dirs[:] = [d for d in dirs if not d.startswith(".")]
    rel_root = os.path.relpath(root, src)
    if rel_root == "." or rel_root.split(os.sep)[0].startswith(outside):
        continue
    for name in sorted(files):
        if not name.endswith((".cpp", ".h")):
            continue
        path = os.path.join(rel_root, name)
        folder = rel_root
        if folder not in allowed:
            print(f"FAIL: {path}: the folder {folder} has no floor in module_boundaries.sh")
            fails += 1
            continue
        unit = os.path.splitext(path)[0]
        deps = units.setdefault(unit, set())
        with open(os.path.join(src, path), encoding="utf-8") as f:
            for line in f:
                m = include.match(line)
                if not m:
                    continue
                inc = m.group(1)
                inc_folder = os.path.dirname(inc)
                if inc_folder not in allowed[folder]:
                    print(f"FAIL: {path} includes {inc}: {inc_folder or 'a file outside the folders'}"
                          f" is not below {folder}")
                    fails += 1
                dep = os.path.splitext(inc)[0]
                if dep != unit:
                    deps.add(dep)

# circles between units: a depth-first search that meets a unit on its own path
state = {}  # unit -> 1 on the path, 2 done
def visit(unit, path):
    global fails
    state[unit] = 1
    path.append(unit)
    for dep in sorted(units.get(unit, ())):
        if state.get(dep) == 1:
            circle = path[path.index(dep):] + [dep]
            print("FAIL: include circle: " + " -> ".join(circle))
            fails += 1
        elif dep in units and dep not in state:
            visit(dep, path)
    path.pop()
    state[unit] = 2
for unit in sorted(units):
    if unit not in state:
        visit(unit, [])

if fails == 0:
    print(f"module boundaries: {len(units)} files, every include goes down the floors, no circle")
sys.exit(1 if fails else 0)
EOF
