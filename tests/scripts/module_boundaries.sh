#!/usr/bin/env bash
# The folders include only what their library builds on, as the libraries
# link it: timecal nothing else; ephem timecal; events ephem and timecal;
# the toolkit facade nothing else; panels events, ephem, timecal and the
# toolkit; the application core all of these. A header of a higher folder
# included by a lower one would tie the layers back together (inline
# constants and declarations compile without any link to show it).
# Usage: module_boundaries.sh <path-to-tenmado> <source-dir>
set -u
src=$2
fails=0
check() {  # folder, allowed prefixes...
    local dir=$1; shift
    local pattern
    pattern=$(printf '%s/|' "$@")
    pattern="^(${pattern%|})"
    while IFS= read -r line; do
        file=${line%%:*}
        inc=$(sed -n 's/.*#include "\([^"]*\)".*/\1/p' <<<"${line#*:}")
        if ! grep -Eq "$pattern" <<<"$inc"; then
            echo "FAIL: $file includes $inc"
            fails=$((fails + 1))
        fi
    done < <(grep -H '#include "' "$src/$dir"/*.cpp "$src/$dir"/*.h | sed "s#^$src/##")
}
check timecal timecal
check ephem ephem timecal
check events events ephem timecal
check app/toolkit app/toolkit
check panels panels events ephem timecal app/toolkit
check places places
check app/core app/core panels events ephem timecal app/toolkit places
[ "$fails" -eq 0 ] && echo "module boundaries: every include goes down the layers"
exit $((fails > 0))
