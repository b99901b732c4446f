#!/usr/bin/env bash
# Hostile settings files: a file of /proc that says size 0 and never ends
# (one warning within 2 s under a 500 MB address-space limit), a NUL byte
# (refused whole, one warning), a UTF-8 byte-order mark (accepted), an
# unreadable settings folder (a warning, not silence), thousands of stray
# keys (one warning with their count), a path swapped between a file and a
# FIFO (never hangs).
# Usage: settings_files.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-settings-files.XXXXXX)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/tenmado"
at="2026-12-06 15:00:00"
golden=$src/tests/golden/almanac_2026-12-06_150000.txt
run() { timeout 10 "$prog" --almanac --at "$at" "$@" >"$work/out" 2>"$work/err"; rc=$?; }
line() { sed -n "${1}p" "$work/out"; }
# built_in WHAT: exit 0, the built-in almanac, one warning matching $2
built_in() {
  [ $rc -eq 0 ] || fail "$1: exit $rc"
  cmp -s "$work/out" "$golden" || fail "$1: not the built-in settings"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^tenmado: warning: .*$2.*built-in settings are used$" "$work/err" ||
    fail "$1: not one warning saying '$2': $(head -c 400 "$work/err")"
}

# ---- /proc: size 0, endless; the read stops past 64 KiB
t0=$(date +%s%N)
(ulimit -v 500000; timeout 10 "$prog" --almanac --at "$at" --config /proc/self/pagemap >"$work/out" 2>"$work/err"); rc=$?
ms=$((($(date +%s%N) - t0) / 1000000))
built_in "/proc/self/pagemap" "larger than 65536 bytes"
[ $ms -lt 2000 ] || fail "/proc/self/pagemap took $ms ms"
ln -s /proc/self/pagemap "$XDG_CONFIG_HOME/tenmado/settings.ini"
run
built_in "settings.ini linked to /proc" "larger than 65536 bytes"
rm "$XDG_CONFIG_HOME/tenmado/settings.ini"

# ---- a NUL byte: refused whole (12\0.5 must not read as 12)
printf '[observer]\nlatitude=12\0.5\n' >"$work/nul.ini"
run --config "$work/nul.ini"
built_in "a NUL byte" "NUL byte"

# ---- a byte-order mark: the file is read, silently (and its numbers take
# the syntax of the options: a leading + and an exponent, an underflow zero)
printf '\xef\xbb\xbf[observer]\nlatitude=+4.306e1\nazimuth=9e-999999\n' >"$work/bom.ini"
run --config "$work/bom.ini"
[ $rc -eq 0 ] && [ ! -s "$work/err" ] && [ "$(line 8)" = "北緯 43.1" ] && [ "$(line 9)" = "方位角   0" ] ||
  fail "byte-order mark: exit $rc, $(line 8) / $(line 9): $(head -c 300 "$work/err")"

# ---- an unreadable settings folder: a warning, the defaults
# (root reads any folder: there the program runs as nobody)
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
chmod 755 "$work" "$XDG_CONFIG_HOME"
cp "$work/bom.ini" "$XDG_CONFIG_HOME/tenmado/settings.ini"
chmod 000 "$XDG_CONFIG_HOME/tenmado"
"${as_user[@]}" "$prog" --almanac --at "$at" >"$work/out" 2>"$work/err"; rc=$?
built_in "folder of mode 000" "Permission denied"
chmod 755 "$XDG_CONFIG_HOME/tenmado"
rm "$XDG_CONFIG_HOME/tenmado/settings.ini"

# ---- stray keys: up to three named one by one, thousands counted in one line
{ echo "[observer]"; echo "latitude=43.06"; for i in $(seq 5000); do echo "k$i=1"; done
  echo "[window]"; echo "colour=red"; } >"$work/keys.ini"
run --config "$work/keys.ini"
[ $rc -eq 0 ] && [ "$(line 8)" = "北緯 43.1" ] || fail "5000 stray keys: exit $rc, $(line 8)"
[ "$(wc -l <"$work/err")" -eq 2 ] || fail "5000 stray keys: $(wc -l <"$work/err") warnings, not 2"
grep -q '\[observer\] 5000 keys are not settings (latitude, longitude, zone, azimuth), the first "k1", "k2", "k3"; ignored$' "$work/err" ||
  fail "5000 stray keys: no count: $(head -c 300 "$work/err")"
grep -q '\[window\] "colour" is not a setting (widget); ignored$' "$work/err" ||
  fail "one stray key: not named: $(head -c 300 "$work/err")"

# ---- a path swapped between a regular file and a FIFO: never hangs
mkfifo "$work/fifo"
printf '[observer]\nlatitude=43.06\n' >"$work/plain.ini"
( for _ in $(seq 400); do
    ln -sfn "$work/fifo" "$work/swap.ini"; ln -sfn "$work/plain.ini" "$work/swap.ini"
  done ) &
swapper=$!
hung=0
for _ in $(seq 40); do
  timeout 5 "$prog" --almanac --at "$at" --config "$work/swap.ini" >/dev/null 2>&1
  [ $? -eq 124 ] && hung=$((hung + 1))
done
kill "$swapper" 2>/dev/null; wait "$swapper" 2>/dev/null
[ $hung -eq 0 ] || fail "a path swapped with a FIFO: $hung of 40 runs hung"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "settings_files: all checks passed"
