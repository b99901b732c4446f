#!/usr/bin/env bash
# The observer's settings on the command line and in the settings file, and
# the almanac over many days: the layers (defaults, file, command line, the
# later winning), every bad value of the command line (exit 2 naming the
# option and the range, nothing printed), of the file (one warning naming
# file, key and value; the program runs), an unreadable or malformed file
# (a warning, the defaults; also a NUL byte, a file of /proc that never
# ends, a path swapped with a FIFO, an unreadable folder), a byte-order
# mark, thousands of stray keys (one warning), the file never written;
# --days and its bad values.
# Usage: settings.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-settings-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
file=$XDG_CONFIG_HOME/tenmado/settings.ini
at="2026-12-06 15:00:00"
golden=$src/tests/golden/almanac_2026-12-06_150000.txt

run() { "$prog" "$@" >"$work/out" 2>"$work/err"; rc=$?; }
line() { sed -n "${1}p" "$work/out"; }

# ---- no file: the built-in defaults, silently
run --almanac --at "$at"
[ $rc -eq 0 ] || fail "defaults: exit $rc"
cmp -s "$work/out" "$golden" || fail "defaults: the almanac differs from $golden"
[ -s "$work/err" ] && fail "defaults: a message: $(cat "$work/err")"

# ---- bad values on the command line: exit 2, the option and its range named
bad() {  # option value range-word
  run --almanac --at "$at" "$1" "$2"
  [ $rc -eq 2 ] || fail "$1 '$2': exit $rc, not 2"
  [ -s "$work/out" ] && fail "$1 '$2': printed the almanac"
  grep -q -- "^tenmado: $1 " "$work/err" || fail "$1 '$2': message does not name $1: $(head -c 300 "$work/err")"
  grep -q -- "$3" "$work/err" || fail "$1 '$2': message lacks the range '$3': $(head -c 300 "$work/err")"
}
# (the syntax of a number is checked value by value in tests/core/config_test.cpp)
for v in 90.5 nan "" $'\xff'; do bad --lat "$v" "-90 to 90"; done
for v in -181 1e400; do bad --lon "$v" "-180 to 180"; done
for v in 14.25 5.1; do bad --zone "$v" "-12 to 14, a multiple of 0.25"; done
for v in 360.5 北; do bad --azimuth "$v" "-360 to 360"; done
for opt in --lat --lon --zone --azimuth --config --days; do
  run --almanac "$opt"
  [ $rc -eq 2 ] || fail "$opt without a value: exit $rc"
done

# ---- the file: its values over the defaults, the command line over both;
# bad values warned once each, naming file, key and value; the program runs
cat >"$file" <<'EOF'
# Sapporo, looking north
[observer]
latitude = 43.06
longitude = 141.35
azimuth = 180
zone = 9.1
[window]
widget = maybe
EOF
cp "$file" "$work/before.ini"
touch -d "2020-01-01 00:00:00" "$file"
stamp=$(stat -c %Y "$file")
ls -la "$XDG_CONFIG_HOME/tenmado" >"$work/listing.before"
run --almanac --at "$at"
[ $rc -eq 0 ] || fail "file: exit $rc"
[ "$(line 7)" = "東経 141.3" ] && [ "$(line 8)" = "北緯 43.1" ] && [ "$(line 9)" = "方位角 180" ] ||
  fail "file: place $(line 7) / $(line 8) / $(line 9)"
[ "$(wc -l <"$work/err")" -eq 2 ] || fail "file: $(wc -l <"$work/err") warnings, not 2: $(cat "$work/err")"
grep -q "^tenmado: warning: $file: \[observer\] zone = \"9.1\" .*0.25.*keeps its default$" "$work/err" ||
  fail "file: no warning for the zone: $(cat "$work/err")"
grep -q "^tenmado: warning: $file: \[window\] widget = \"maybe\"" "$work/err" ||
  fail "file: no warning for widget: $(cat "$work/err")"
run --almanac --at "$at" --lat -33.87 --azimuth 0
[ "$(line 7)" = "東経 141.3" ] && [ "$(line 8)" = "南緯 33.9" ] && [ "$(line 9)" = "方位角   0" ] ||
  fail "command line over file: $(line 7) / $(line 8) / $(line 9)"
# a snapshot reads the file too
run --snapshot "$work/north.png" --at "$at"
[ $rc -eq 0 ] && [ -s "$work/north.png" ] || fail "snapshot with the file: exit $rc"

# ---- --config: another file instead; missing, malformed, not a file:
# one warning, the built-in settings, exit 0
printf '[observer]\nlongitude=-74.0\nlatitude=40.71\nzone=-5\n' >"$work/ny.ini"
run --almanac --at "$at" --config "$work/ny.ini"
[ $rc -eq 0 ] && [ "$(line 7)" = "西経 74.0" ] && [ "$(line 8)" = "北緯 40.7" ] ||
  fail "--config: exit $rc, $(line 7) / $(line 8)"
[ -s "$work/err" ] && fail "--config: a message: $(cat "$work/err")"
printf 'latitude=1\n' >"$work/malformed.ini"
printf '[observer]\nlatitude=12\0.5\n' >"$work/nul.ini"  # not 12: refused whole
mkfifo "$work/fifo"
for cfg in "$work/none.ini" "$work/malformed.ini" "$work" "$work/fifo" /dev/zero "$work/nul.ini"; do
  run --almanac --at "$at" --config "$cfg"
  [ $rc -eq 0 ] || fail "--config $cfg: exit $rc"
  cmp -s "$work/out" "$golden" || fail "--config $cfg: not the built-in settings"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^tenmado: warning: .*built-in settings are used$" "$work/err" ||
    fail "--config $cfg: not one warning: $(head -c 400 "$work/err")"
done

# /proc says size 0 and never ends: read only past 64 KiB, within 2 s under
# a 500 MB address-space limit
# (AddressSanitizer reserves terabytes of shadow address space at start: a
# sanitizer build runs without the limit, the time limit still holds)
limit=500000
ldd "$prog" 2>/dev/null | grep -q libasan && limit=unlimited
t0=$(date +%s%N)
(ulimit -v $limit; exec timeout 10 "$prog" --almanac --at "$at" --config /proc/self/pagemap >"$work/out" 2>"$work/err"); rc=$?
ms=$((($(date +%s%N) - t0) / 1000000))
[ $rc -eq 0 ] && [ $ms -lt 2000 ] && cmp -s "$work/out" "$golden" &&
  grep -q "^tenmado: warning: /proc/self/pagemap: larger than 65536 bytes; the built-in settings are used$" "$work/err" ||
  fail "/proc/self/pagemap under ulimit -v: exit $rc after $ms ms: $(head -c 300 "$work/err")"
# a path swapped between a regular file and a FIFO never hangs
( for _ in $(seq 400); do ln -sfn "$work/fifo" "$work/swap.ini"; ln -sfn "$work/ny.ini" "$work/swap.ini"; done ) &
swapper=$!
for _ in $(seq 40); do
  timeout 5 "$prog" --almanac --at "$at" --config "$work/swap.ini" >/dev/null 2>&1
  [ $? -eq 124 ] && { fail "a path swapped with a FIFO: a run hung"; break; }
done
kill "$swapper" 2>/dev/null; wait "$swapper" 2>/dev/null
# a byte-order mark is no fault; numbers in the options' syntax (a leading
# +, an exponent, an underflow as zero)
printf '\xef\xbb\xbf[observer]\nlatitude=+4.306e1\nazimuth=9e-999999\n' >"$work/bom.ini"
run --almanac --at "$at" --config "$work/bom.ini"
[ $rc -eq 0 ] && [ ! -s "$work/err" ] && [ "$(line 8)" = "北緯 43.1" ] && [ "$(line 9)" = "方位角   0" ] ||
  fail "byte-order mark: exit $rc, $(line 8) / $(line 9): $(head -c 300 "$work/err")"
# stray keys: up to three named one by one, thousands counted in one line
{ echo "[observer]"; for i in $(seq 5000); do echo "k$i=1"; done; echo "[window]"; echo "colour=red"; } >"$work/keys.ini"
run --almanac --at "$at" --config "$work/keys.ini"
[ $rc -eq 0 ] && [ "$(wc -l <"$work/err")" -eq 2 ] &&
  grep -q '\[observer\] 5000 keys are not settings (latitude, longitude, zone, azimuth, place), the first "k1", "k2", "k3"; ignored$' "$work/err" &&
  grep -q '\[window\] "colour" is not a setting (widget); ignored$' "$work/err" ||
  fail "5000 stray keys: exit $rc, not one line with their count and one naming the other: $(head -c 300 "$work/err")"

# ---- the file is never written: same bytes, same time, nothing new beside it
cmp -s "$file" "$work/before.ini" || fail "the settings file changed"
[ "$(stat -c %Y "$file")" = "$stamp" ] || fail "the settings file's time changed"
ls -la "$XDG_CONFIG_HOME/tenmado" >"$work/listing.after"
cmp -s "$work/listing.before" "$work/listing.after" || fail "the settings folder changed"

# ---- the example file of the README: no warning, Sapporo looking north
run --almanac --at "$at" --config "$src/docs/settings.ini"
[ $rc -eq 0 ] && [ ! -s "$work/err" ] && [ "$(line 7)" = "東経 141.3" ] && [ "$(line 9)" = "方位角 180" ] ||
  fail "docs/settings.ini: exit $rc, $(line 7) / $(line 9): $(cat "$work/err")"

# ---- an unreadable settings folder: a warning, the defaults (root reads
# any folder: there the program runs as nobody)
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
chmod 755 "$work" "$XDG_CONFIG_HOME"
cp "$work/bom.ini" "$file"
chmod 000 "$XDG_CONFIG_HOME/tenmado"
"${as_user[@]}" "$prog" --almanac --at "$at" >"$work/out" 2>"$work/err"; rc=$?
chmod 755 "$XDG_CONFIG_HOME/tenmado"
[ $rc -eq 0 ] && cmp -s "$work/out" "$golden" && [ "$(wc -l <"$work/err")" -eq 1 ] &&
  grep -q "^tenmado: warning: $file: Permission denied; the built-in settings are used$" "$work/err" ||
  fail "settings folder of mode 000: exit $rc: $(head -c 300 "$work/err")"

# ---- the zone: from the longitude (Ishigaki 124.2 E: UTC+8), or set
rm -f "$file"
run --almanac --json --at "2026-06-01 12:00:00" --lon 124.2
grep -q '"jd": 2461192.6666666' "$work/out" || fail "Ishigaki: not UTC+8: $(grep '"jd"' "$work/out")"
grep -q '"jd_local": "2026-06-01T12:00:00+08:00"' "$work/out" || fail "Ishigaki: jd_local"
run --almanac --json --at "2026-06-01 12:00:00" --lon 124.2 --zone 9
grep -q '"jd": 2461192.625,' "$work/out" || fail "Ishigaki with zone 9: $(grep '"jd"' "$work/out")"
run --almanac --json --at "2026-06-01 12:00:00" --lon 85.3 --zone 5.75
grep -q '"jd_local": "2026-06-01T12:00:00+05:45"' "$work/out" || fail "zone 5.75: jd_local"

# ---- --days: bad values exit 2; a run prints a table or an array
for v in 0 3661 -1 1.5 "" 99999999999999999999; do
  run --almanac --days "$v" --at "$at"
  [ $rc -eq 2 ] || fail "--days '$v': exit $rc, not 2"
  [ -s "$work/out" ] && fail "--days '$v': printed something"
  grep -q "1 to 3660" "$work/err" || fail "--days '$v': message lacks the range: $(cat "$work/err")"
done
run --days 2 --at "$at"
[ $rc -eq 2 ] && grep -q -- "--days only goes with --almanac" "$work/err" || fail "--days alone: exit $rc"
run --almanac --days 3660 --at "9999-01-01 12:00:00"
[ $rc -eq 2 ] && grep -q "past 9999-12-31" "$work/err" || fail "--days past 9999: exit $rc"
run --almanac --days 3 --at "$at"
[ $rc -eq 0 ] && [ "$(wc -l <"$work/out")" -eq 4 ] || fail "--days 3: exit $rc, $(wc -l <"$work/out") lines"
[ "$(line 2 | cut -c1-10)" = "2026/12/06" ] && [ "$(line 4 | cut -c1-10)" = "2026/12/08" ] ||
  fail "--days 3: dates $(line 2 | cut -c1-10) .. $(line 4 | cut -c1-10)"
run --almanac --json --days 2
python3 -c '
import json, sys
days = json.load(open(sys.argv[1]))
assert isinstance(days, list) and len(days) == 2, days
assert days[0]["local"].endswith("12:00:00") and days[1]["jd"] - days[0]["jd"] == 1.0, days[0]["local"]
' "$work/out" || fail "--days 2 --json without --at: not two days at noon"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "settings: all checks passed"
