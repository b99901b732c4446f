#!/usr/bin/env bash
# --scale S with --snapshot: a picture S times as large, each side rounded to
# whole pixels (1.25 gives 662.5 -> 663 x 375); --scale 1 is the picture
# without it, byte for byte; a scale that is not a number from 1 to 8, or
# --scale without --snapshot, exits 2 with a message naming the option and
# the range, and writes nothing.
# Usage: snapshot_scale.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
command -v identify >/dev/null || { echo "FAIL: identify is not installed"; exit 1; }
work=$(mktemp -d /tmp/tenmado-scale-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
unset DISPLAY WAYLAND_DISPLAY
at="2026-12-06 21:00:00"

"$prog" --snapshot "$work/plain.png" --at "$at" || fail "snapshot without --scale"
for case in "1 530x300" "1.0 530x300" "2 1060x600" "1.5 795x450" "1.25 663x375" "3.3333 1767x1000" \
            "8 4240x2400" "8.0 4240x2400" "+2 1060x600" "2e0 1060x600" "0.15e1 795x450"; do
  # shellcheck disable=SC2086
  set -- $case
  rm -f "$work/s.png"
  "$prog" --snapshot "$work/s.png" --scale "$1" --at "$at" 2>"$work/err" ||
    { fail "--scale $1: exit $?: $(cat "$work/err")"; continue; }
  size=$(identify -format '%wx%h' "$work/s.png")
  [ "$size" = "$2" ] || fail "--scale $1: $size, not $2"
done
"$prog" --snapshot "$work/one.png" --scale 1 --at "$at"
cmp -s "$work/plain.png" "$work/one.png" || fail "--scale 1 is not the picture without --scale"

for bad in 0 -1 0.99 8.01 9 1e1 9e-999999 abc nan inf -inf "" " 2" "2 " 2,5 1..5 0x2 . ++2 2e 1e999 \
           "$(printf '9%.0s' {1..400})"; do
  err=$("$prog" --snapshot "$work/bad.png" --scale "$bad" --at "$at" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 2 ] || fail "--scale '$bad': exit $rc, not 2"
  grep -q -- "--scale" <<<"$err" && grep -q "1 to 8" <<<"$err" ||
    fail "--scale '$bad': the message names not the option and the range: $err"
  [ ! -e "$work/bad.png" ] || { fail "--scale '$bad' wrote a picture"; rm -f "$work/bad.png"; }
done
err=$("$prog" --scale 2 --almanac --at "$at" 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] && grep -q -- "--snapshot" <<<"$err" || fail "--scale without --snapshot: exit $rc: $err"
"$prog" --help | grep -q -- "--scale" || fail "--help does not mention --scale"

left=$(ls -A "$work" | grep -v -e '^plain.png$' -e '^one.png$' -e '^s.png$' -e '^err$')
[ -z "$left" ] || fail "files left behind: $left"
if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "snapshot_scale: all checks passed"
