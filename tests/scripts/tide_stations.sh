#!/usr/bin/env bash
# Tide stations on the command line: a chosen station's heading, rows and
# JSON; --days carries it; the station list names the data's licences; an
# unknown or empty id exits 2 with the closest names; a missing or damaged
# data file gives one warning and exactly the default almanac; nearest far
# from every station shows no tides; the settings file's [tides] station.
# Usage: tide_stations.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
golden=$src/tests/golden/almanac_2026-12-06_150000
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-tides-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work
export TENMADO_TIDE_STATIONS=$src/tides/tide_stations.tsv
at="2026-12-06 15:00:00"
osaka=ticon/osaka-ma30-jpn-jodc_jma

# a station: its heading, four rows, the tide's name; JSON with its id
"$prog" --almanac --at "$at" --tide-station $osaka >"$work/text" 2>"$work/err" || fail "osaka exit $?"
grep -qx "大阪潮汐 中潮" "$work/text" || fail "no heading 大阪潮汐 中潮"
grep -qx "潮名 中潮" "$work/text" || fail "no tide name"
grep -q "^潮汐観測点 $osaka (40[0-9] km)$" "$work/text" || fail "the distance of a far station"
[ -s "$work/err" ] && fail "warnings for a good station: $(cat "$work/err")"
"$prog" --almanac --json --at "$at" --tide-station $osaka | python3 -c '
import json, sys
j = json.load(sys.stdin)
s = j["tide_station"]
assert s["id"] == "ticon/osaka-ma30-jpn-jodc_jma" and s["name"] == "大阪" and s["datum"] == "NLLW", s
assert s["license"] == "cc-by-4.0" and 395 < s["distance_km"] < 410, s
assert j["tide_name"] == "中潮" and 2 <= len(j["tides"]) <= 4, j["tides"]
assert all(t["kind"] in ("high", "low") and 0.5 < t["height"] < 2.5 for t in j["tides"]), j["tides"]
' || fail "JSON of the Osaka station"
# --days: every day of the run with the station's tides (not Tokyo Bay's)
"$prog" --almanac --days 3 --at "$at" --tide-station $osaka >"$work/days" || fail "--days exit"
"$prog" --almanac --days 3 --at "$at" >"$work/days_bay" || fail "--days default exit"
[ "$(wc -l <"$work/days")" -eq 4 ] || fail "--days 3: not 4 lines"
cmp -s "$work/days" "$work/days_bay" && fail "--days ignores the station"

# the list: the database and its licences first, then matching stations
"$prog" --tide-stations osaka >"$work/list" || fail "--tide-stations exit $?"
grep -q "Neaps tide database" "$work/list" && grep -q "TICON-4" "$work/list" &&
  grep -q "CC BY 4.0" "$work/list" && grep -q "public domain" "$work/list" ||
  fail "the list does not name the data and its licences"
grep -q "^$osaka	Osaka 大阪	" "$work/list" || fail "Osaka not listed"
[ "$(grep -vc '^#' "$work/list")" -ge 1 ] || fail "no station listed"
"$prog" --tide-stations --lat 26.2 --lon 127.7 | grep -v '^#' | head -n 1 | grep -q "naha" ||
  fail "the nearest to Naha is not first"

# an unknown id, an empty id: status 2, three closest names, nothing printed
"$prog" --almanac --tide-station ticon/osak >"$work/out" 2>"$work/err"; rc=$?
[ $rc -eq 2 ] || fail "unknown id: exit $rc"
grep -q "$osaka" "$work/err" || fail "unknown id: Osaka not suggested"
[ "$(grep -o '), ' "$work/err" | wc -l)" -eq 2 ] || fail "unknown id: not three names"
[ -s "$work/out" ] && fail "unknown id printed an almanac"
"$prog" --almanac --tide-station "" >/dev/null 2>&1; rc=$?
[ $rc -eq 2 ] || fail "empty id: exit $rc"

# a missing, a damaged data file: one warning, exactly the default almanac
printf 'C\tM2\nR\tbroken\n' >"$work/bad.tsv"
for data in "$work/none.tsv" "$work/bad.tsv" /dev/null; do
  TENMADO_TIDE_STATIONS=$data "$prog" --almanac --at "$at" --tide-station $osaka \
    >"$work/out" 2>"$work/err"; rc=$?
  [ $rc -eq 0 ] || fail "data $data: exit $rc"
  cmp -s "$work/out" "$golden.txt" || fail "data $data: not the default almanac"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "Tokyo Bay" "$work/err" ||
    fail "data $data: not one warning: $(cat "$work/err")"
done

# nearest, mid-Pacific: no tides, a warning, rows --
"$prog" --almanac --at "$at" --lat -48 --lon -125 --tide-station nearest >"$work/out" 2>"$work/err" ||
  fail "nearest far: exit $?"
grep -q "no tide station within 2000 km" "$work/err" || fail "nearest far: no warning"
[ "$(grep -c -- '--$' "$work/out")" -eq 4 ] || fail "nearest far: not four empty rows"
grep -qx "潮汐" "$work/out" || fail "nearest far: heading not 潮汐"

# the settings file: [tides] station, the option over it; an unknown id warns
printf '[tides]\nstation = %s\n' $osaka >"$work/s.ini"
"$prog" --config "$work/s.ini" --almanac --at "$at" | grep -qx "大阪潮汐 中潮" || fail "[tides] station"
"$prog" --config "$work/s.ini" --almanac --at "$at" --tide-station tokyo-bay |
  cmp -s - "$golden.txt" || fail "--tide-station tokyo-bay over the file"
printf '[tides]\nstation = nowhere\n' >"$work/u.ini"
"$prog" --config "$work/u.ini" --almanac --at "$at" >"$work/out" 2>"$work/err" || fail "unknown in file: exit"
cmp -s "$work/out" "$golden.txt" || fail "unknown in file: not the default"
grep -q "warning: no tide station nowhere" "$work/err" || fail "unknown in file: no warning"

[ $fails -eq 0 ] && echo "tide stations: all checks pass"
exit $((fails > 0))
