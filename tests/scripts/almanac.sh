#!/usr/bin/env bash
# The almanac on the command line: the text of a fixed instant equals the
# committed expected text, the JSON of it is one object in UTF-8, dates
# before 1582-10-15 are Julian dates, and bad inputs exit 2 with a message
# and print nothing.
# Usage: almanac.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
golden=$src/tests/golden/almanac_2026-12-06_150000
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-almanac-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
at="2026-12-06 15:00:00"

# text: the picture's read-outs, one per line, UTF-8
"$prog" --almanac --at "$at" >"$work/text"; rc=$?
[ $rc -eq 0 ] || fail "--almanac exit $rc"
diff "$work/text" "$golden.txt" || fail "text differs from $golden.txt"
iconv -f UTF-8 -t UTF-8 "$work/text" >/dev/null || fail "text is not UTF-8"

# JSON: one object of the same instant (its values: tests/core/almanac_test.cpp)
"$prog" --almanac --json --at "$at" >"$work/json"; rc=$?
[ $rc -eq 0 ] || fail "--almanac --json exit $rc"
python3 - "$work/json" <<'PY' || fail "JSON of $at"
import json, sys
got = json.load(open(sys.argv[1], encoding="utf-8"))
assert got["local"] == "2026-12-06 15:00:00" and got["jd"] == 2461380.75, got
names = [b["name"] for b in got["bodies"]]
assert names == ["月", "水星", "金星", "太陽", "火星", "木星", "土星"], names
PY

# now, without --at
"$prog" --almanac >/dev/null || fail "--almanac now"
"$prog" --almanac --json | python3 -c 'import json, sys; json.load(sys.stdin)' \
  || fail "--almanac --json now is not JSON"

# a Julian leap day (the calendar of the date line up to 1582-10-04)
"$prog" --almanac --at "1500-02-29 12:00:00" | head -n 1 | grep -qF "  1500/02/29 12:00:00 " ||
  fail "--at \"1500-02-29 12:00:00\" is not the date line's"

# bad inputs: exit 2, a message naming the problem, nothing on stdout
bad() {  # word -- args...
  local word=$1
  shift 2
  local rc
  "$prog" "$@" >"$work/out" 2>"$work/err"; rc=$?
  [ $rc -eq 2 ] || fail "exit $rc (not 2) for: $(printf '%q ' "$@")"
  [ -s "$work/out" ] && fail "output printed for: $(printf '%q ' "$@")"
  grep -q -- "$word" "$work/err" || fail "message for $(printf '%q ' "$@") lacks '$word': $(cat "$work/err")"
}
bad "civil time" -- --almanac --at "2026-02-30 12:00:00"
bad "civil time" -- --almanac --json --at "2026-12-06 25:00:00"
bad "civil time" -- --almanac --at "2026-12-06"
bad "1582-10-15" -- --almanac --at "1582-10-05 12:00:00"
bad "civil time" -- --almanac --at "1700-02-29 12:00:00"
bad "--json" -- --json --at "$at"
bad "unexpected argument" -- --almanac extra

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "almanac: all checks passed"
