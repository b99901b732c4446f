#!/usr/bin/env bash
# Places by name and named zones on the command line: --place in English and
# Japanese, an ambiguous name (exit 2 with the candidates) and its
# qualified forms, an unknown one, --places; --lat/--lon/--zone over the
# place's; the gazetteer missing (one warning, the numbers work); --zone
# with a name, with system under three TZ values, bad names (exit 2, or
# one warning from the file); the JSON's zone and offset.
# Usage: places_zones.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
unset DISPLAY WAYLAND_DISPLAY TENMADO_PLACES
work=$(mktemp -d /tmp/tenmado-places-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
at="2026-06-21 12:00:00"
run() { "$prog" "$@" >"$work/out" 2>"$work/err"; rc=$?; }
has() { grep -q -- "$2" "$work/$1" || fail "$3: $1 lacks '$2': $(head -c 400 "$work/$1")"; }

# ---- Sapporo by its English and Japanese names
for name in Sapporo sapporo 札幌 さっぽろ; do
  run --almanac --at "$at" --place "$name"
  [ $rc -eq 0 ] || fail "--place $name: exit $rc: $(cat "$work/err")"
  has out "北緯 43.1" "--place $name"
  has out "東経 141.3" "--place $name"
  [ -s "$work/err" ] && fail "--place $name: a message: $(cat "$work/err")"
done
run --places 札幌
[ $rc -eq 0 ] || fail "--places 札幌: exit $rc"
has out "Sapporo (札幌), Hokkaido, Japan" "--places 札幌"
has out "Asia/Tokyo" "--places 札幌"

# ---- ambiguous: exit 2, the candidates with region and country
run --almanac --at "$at" --place Portland
[ $rc -eq 2 ] || fail "--place Portland: exit $rc, not 2"
[ -s "$work/out" ] && fail "--place Portland: printed the almanac"
has err "Oregon, United States" "--place Portland"
has err "Maine, United States" "--place Portland"
for name in "Portland, Oregon" "Portland, US-OR"; do
  run --almanac --json --at "$at" --place "$name"
  [ $rc -eq 0 ] || fail "--place '$name': exit $rc: $(cat "$work/err")"
  has out '"zone": "America/Los_Angeles"' "--place '$name'"
  has out '"utc_offset": -7.0' "--place '$name'"
  has out '"sunrise_local": "2026-06-21T05:2' "--place '$name'"
done
run --places "Portland"
[ "$(wc -l <"$work/out")" -ge 10 ] || fail "--places Portland: fewer than 10 lines"
head -1 "$work/out" | grep -q "Oregon" || fail "--places Portland: not the most populous first"

# ---- unknown
run --almanac --at "$at" --place "Xyzzy Nowhere"
[ $rc -eq 2 ] || fail "unknown place: exit $rc, not 2"
has err "no place of that name" "unknown place"
run --places "Xyzzy Nowhere"
[ $rc -eq 1 ] || fail "--places unknown: exit $rc, not 1"

# ---- the options win over the place's
run --almanac --json --at "$at" --place London --lat 10 --zone 3
has out '"latitude": 10.0' "--place London --lat 10"
has out '"longitude": -0.1257' "--place London --lat 10"
has out '"zone": 3.0' "--place London --zone 3"

# ---- the gazetteer missing: one warning, the numbers still work
TENMADO_PLACES=$work/none.tsv run --almanac --at "$at" --place Sapporo --lat 43 --lon 141
[ $rc -eq 0 ] || fail "no gazetteer: exit $rc"
[ "$(grep -c warning "$work/err")" -eq 1 ] || fail "no gazetteer: not one warning: $(cat "$work/err")"
has err "gazetteer cannot be read" "no gazetteer"
has out "北緯 43.0" "no gazetteer"
printf '[observer]\nplace = Sapporo\n' >"$work/s.ini"
TENMADO_PLACES=$work/none.tsv run --almanac --at "$at" --config "$work/s.ini"
[ $rc -eq 0 ] || fail "no gazetteer, file: exit $rc"
[ "$(grep -c warning "$work/err")" -eq 1 ] || fail "no gazetteer, file: not one warning"
run --almanac --at "$at" --config "$work/s.ini"
has out "北緯 43.1" "[observer] place = Sapporo"

# ---- named zones: London in summer time
run --almanac --at "$at" --lat 51.5085 --lon -0.1257 --zone Europe/London
has out "日の出 04:42" "--zone Europe/London"
has out "日の入 21:21" "--zone Europe/London"
# system: TZ or /etc/localtime
for pair in "Asia/Tokyo:9.0" "Europe/London:1.0" "America/New_York:-4.0"; do
  tz=${pair%%:*}
  TZ=$tz run --almanac --json --at "$at" --zone system
  [ $rc -eq 0 ] || fail "TZ=$tz --zone system: exit $rc"
  has out "\"utc_offset\": ${pair#*:}" "TZ=$tz --zone system"
  has out '"zone": "system"' "TZ=$tz --zone system"
done
# bad names: exit 2 on the command line, one warning from the file
for z in Mars/Olympus Europe/Lon%don ../../etc/passwd 14.5; do
  run --almanac --at "$at" --zone "$z"
  [ $rc -eq 2 ] || fail "--zone $z: exit $rc, not 2"
  has err "zone name of the tz database" "--zone $z"
done
printf '[observer]\nzone = Mars/Olympus\n' >"$work/z.ini"
run --almanac --at "$at" --config "$work/z.ini"
[ $rc -eq 0 ] || fail "bad zone in the file: exit $rc"
[ "$(grep -c warning "$work/err")" -eq 1 ] || fail "bad zone in the file: not one warning"
has out "日の出 04:25" "bad zone in the file: Tokyo's sunrise"

[ "$fails" -eq 0 ] && echo "places and zones: all checks passed"
exit $((fails > 0))
