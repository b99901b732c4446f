#!/usr/bin/env bash
# The program as -DTENMADO_GUI=OFF builds it (shell/main.cpp without the
# window, linked with the same libraries): it needs no GTK, paints the
# snapshot and prints the almanac as the full program does, and asked for
# the window says it was built without one (status 1).
# Usage: no_window.sh <path-to-tenmado_nowindow> <path-to-tenmado>
set -u
prog=$1
full=$2
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-nowindow-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
at="2026-12-06 21:00:00"

ldd "$prog" | grep -qE 'libgtk|libgdk' && fail "linked with GTK: $(ldd "$prog" | grep -E 'libgtk|libgdk')"
"$prog" --snapshot "$work/a.png" --at "$at" || fail "--snapshot"
"$full" --snapshot "$work/b.png" --at "$at" || fail "--snapshot of the full program"
cmp -s "$work/a.png" "$work/b.png" || fail "the two programs paint different pictures"
cmp -s <("$prog" --almanac --json --at "$at") <("$full" --almanac --json --at "$at") ||
  fail "the two programs print different almanacs"
[ "$("$prog" --version)" = "$("$full" --version)" ] || fail "--version differs"
for args in "" "--widget"; do
  # shellcheck disable=SC2086
  err=$(DISPLAY=:0 "$prog" $args 2>&1 >/dev/null); rc=$?
  [ $rc -eq 1 ] || fail "the window ($args): exit $rc (not 1)"
  grep -q "without the window" <<<"$err" && grep -q -- "--snapshot" <<<"$err" ||
    fail "the window ($args): $err"
done

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "no_window: all checks passed"
