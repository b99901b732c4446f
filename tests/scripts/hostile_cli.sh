#!/usr/bin/env bash
# Hostile command lines: every option with empty, very long and non-UTF-8
# values, impossible dates and unwritable paths. Each one exits with a short
# message on stderr that starts "tenmado:" (2 for a mistake on the command
# line, 1 for an output that cannot be written), prints nothing on stdout,
# leaves no file behind (not even a temporary one) and never crashes (no
# signal, no sanitizer report). The extreme instants that are valid paint
# and print normally.
# Usage: hostile_cli.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-hostile-test.XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fails=0
tried=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
shown() { printf '%q ' "$@" | cut -c1-160; }
# the largest message a bad input may give (a long value is cut in it)
max_err=1024

long=$(printf 'x%.0s' $(seq 100000))          # one argument of 100,000 bytes
bytes=$'\xff\xfe\x80'                          # never UTF-8
cut_utf8=$'\xe5\xa4'                           # a UTF-8 character cut short
overlong=$'\xc0\xaf'                           # an overlong "/"

# run args...: exit status into rc, stdout and stderr into files
run() {
  "$prog" "$@" >"$work/out" 2>"$work/err"
  rc=$?
  tried=$((tried + 1))
}

# no crash: a signal or a sanitizer report fails whatever the status
no_crash() {
  if [ "$rc" -ge 128 ]; then fail "signal $((rc - 128)) for: $(shown "$@")"; fi
  if grep -qE 'runtime error|Sanitizer|Segmentation|Aborted|core dumped|CRITICAL' "$work/err"; then
    fail "crash report for: $(shown "$@"): $(head -c 400 "$work/err")"
  fi
}

# refused STATUS args...: exit STATUS, one short message, nothing printed,
# no file left; bad: a mistake on the command line (2); cannot: an output
# that cannot be written (1)
bad() { refused 2 "$@"; }
cannot() { refused 1 "$@"; }
refused() {
  local want=$1
  shift
  run "$@"
  no_crash "$@"
  [ "$rc" -eq "$want" ] || fail "exit $rc (not $want) for: $(shown "$@")"
  [ -s "$work/out" ] && fail "stdout not empty for: $(shown "$@")"
  [ -s "$work/err" ] || fail "no message for: $(shown "$@")"
  head -n 1 "$work/err" | grep -q '^tenmado: ' || fail "message does not start 'tenmado: ' for: $(shown "$@")"
  local size
  size=$(wc -c <"$work/err")
  [ "$size" -le "$max_err" ] || fail "message of $size bytes for: $(shown "$@")"
  left=$(find "$work" "$work/dir" -maxdepth 1 -mindepth 1 ! -name out ! -name err ! -name dir \
           ! -name ro ! -name 'fifo*' ! -name afile ! -name 'keep*' ! -name 'link-*' 2>/dev/null)
  [ -z "$left" ] || { fail "files left by: $(shown "$@"): $left"; rm -rf $left; }
}

mkdir "$work/dir"
png=$work/dir/out.png

# ---- --at: malformed, impossible and out-of-range instants
for at in "" " " "$long" "$bytes" "$cut_utf8" "$overlong" \
          "0000-01-01 00:00:00" "99999-01-01 00:00:00" "10000-01-01 00:00:00" "-001-01-01 00:00:00" \
          "+2026-12-06 21:00:00" "2026-13-01 00:00:00" "2026-00-10 00:00:00" "2026-12-32 00:00:00" \
          "2026-12-00 00:00:00" "2026-02-30 00:00:00" "2025-02-29 00:00:00" "1900-02-29 00:00:00" \
          "2100-02-29 00:00:00" "2026-12-06 24:00:00" "2026-12-06 23:60:00" "2026-12-06 23:59:60" \
          "2026-12-06 -1:00:00" "2026-12-06 21:00:00 " "2026-12-06 21:00:00x" "2026-12-06  21:00:00" \
          $'2026-12-06\t21:00:00' $'2026-12-06 21:00:00\n' "2026-12-06 21:00:0" "2026-12-6 21:00:00" \
          "2026-12-06 21:00:00.5" "2026-12-06" "21:00:00" "2026/12/06 21:00:00" \
          $'\xef\xbc\x92\xef\xbc\x90\xef\xbc\x92\xef\xbc\x96-12-06 21:00:00' \
          "9999999999999999999-01-01 00:00:00" "2026-99999999999999999999-01 00:00:00" \
          "2026-12-06 21:00:$bytes" "1582-10-05 00:00:00" "1582-10-14 23:59:59" "1700-02-29 12:00:00" \
          "1500-02-30 00:00:00"; do
  bad --almanac --at "$at"
  bad --almanac --json --at "$at"
  bad --snapshot "$png" --at "$at"
  [ -e "$png" ] && { fail "snapshot written for --at $(shown "$at")"; rm -f "$png"; }
done
bad --almanac --at
bad --snapshot "$png" --at

# ---- --snapshot: empty, long, non-UTF-8 names and unwritable places
mkfifo "$work/fifo" "$work/fifo.png"
touch "$work/afile"
ln -s /dev/null "$work/link-null.png"
ln -s /dev/full "$work/link-full.png"
ln -s "$work/fifo.png" "$work/link-fifo.png"
ln -s "$work/dir" "$work/link-dir.png"
ln -s "link-loop.png" "$work/link-loop.png"
# names that are not PNG files: refused before anything is painted
for path in "" "/dev/full" "/dev/null" "$work/fifo" "$work/dir" "/" "." ".." "$work/x.jpg" \
            "$work/x.png.jpg" "$work/png" "$work/x.pn" "$bytes" "$long"; do
  bad --snapshot "$path"
  bad --snapshot "$path" --almanac --at "2026-12-06 21:00:00"
done
# PNG names where no file can be written
for path in "$work/missing/x.png" "$work/missing/$bytes.png" "$work/$long.png" \
            "$work/dir/$long/x.png" "/dev/null/x.png" "$work/afile/x.png" "/proc/tenmado-test.png" \
            "/proc/self/tenmado.png" "$work/fifo.png" "$work/link-null.png" "$work/link-full.png" \
            "$work/link-fifo.png" "$work/link-dir.png" "$work/link-loop.png"; do
  cannot --snapshot "$path"
  cannot --snapshot "$path" --almanac --at "2026-12-06 21:00:00"
done
[ -c /dev/null ] && [ -c /dev/full ] || fail "a device was replaced"
[ -p "$work/fifo" ] && [ -p "$work/fifo.png" ] || fail "the FIFO was replaced"
[ -s "$work/afile" ] && fail "a file was written into"
for l in null full fifo dir loop; do
  [ -L "$work/link-$l.png" ] || fail "the link link-$l.png was replaced"
done
[ -z "$(ls -A "$work/dir")" ] || fail "written into the folder behind a link: $(ls -A "$work/dir")"
bad --snapshot
# standard output: not with the almanac, which writes there too
bad --snapshot - --almanac
# a write that fails part-way (a file size limit, as a full disk would)
( ulimit -f 20; exec "$prog" --snapshot "$png" --at "2026-12-06 21:00:00" ) >"$work/out" 2>"$work/err"
rc=$?; tried=$((tried + 1))
[ "$rc" -eq 1 ] || fail "exit $rc (not 1) for a write past the file size limit"
grep -q "cannot write" "$work/err" || fail "no message for a write past the file size limit"
[ -z "$(ls -A "$work/dir")" ] || { fail "partial file left: $(ls -A "$work/dir")"; rm -f "$work/dir"/* "$work/dir"/.??*; }
# the almanac into a full disk or past the file size limit
for j in "" --json; do
  # shellcheck disable=SC2086
  "$prog" --almanac $j --at "2026-12-06 21:00:00" >/dev/full 2>"$work/err"; rc=$?
  tried=$((tried + 1))
  [ "$rc" -eq 1 ] && grep -q "cannot write" "$work/err" || fail "almanac $j into /dev/full: exit $rc"
  # shellcheck disable=SC2086
  ( ulimit -f 2; exec "$prog" --almanac $j --at "2026-12-06 21:00:00" ) >"$work/keep.txt" 2>"$work/err"
  rc=$?; tried=$((tried + 1))
  if [ -z "$j" ]; then want=0; else want=1; fi  # the text fits in 2 kB, the JSON does not
  [ "$rc" -eq "$want" ] || fail "almanac $j past the file size limit: exit $rc (not $want)"
  rm -f "$work/keep.txt"
done
if [ "$(id -u)" != 0 ]; then
  mkdir "$work/ro" && chmod 555 "$work/ro"
  cannot --snapshot "$work/ro/x.png"
  [ -z "$(ls -A "$work/ro")" ] || fail "files left in a read-only folder"
fi

# ---- the flags: no values, unknown and stray arguments
for arg in "--almanac=" "--almanac=yes" "--almanac=$long" "--almanac=$bytes" "--json=" "--json=false" \
           "--help=" "--help=$bytes" "--snapshot=" "--at=" "--at=$long" "--bogus" "-x" "-" "$bytes" \
           "$long" "--$bytes" "--$long" "--almanac$bytes" "--widget=" "--widget=yes" "--version=" \
           "--version=$long"; do
  bad --almanac --json "$arg"
done
bad --json
bad --json --at "2026-12-06 21:00:00"
bad --almanac extra
bad --almanac -- extra
bad --almanac "" 

# ---- valid extremes: they work
for at in "0001-01-01 00:00:00" "9999-12-31 23:59:59" "1900-01-01 00:00:00" "2100-12-31 23:59:59" \
          "2000-02-29 12:00:00" "1500-02-29 12:00:00" "1582-10-04 23:59:59" "1582-10-15 00:00:00" \
          "1600-02-29 00:00:00"; do
  run --almanac --at "$at"
  no_crash --almanac --at "$at"
  [ "$rc" -eq 0 ] || fail "--almanac --at \"$at\" exit $rc: $(head -c 300 "$work/err")"
  grep -qiE 'nan|inf' "$work/out" && fail "--almanac --at \"$at\" prints nan/inf"
  run --almanac --json --at "$at"
  no_crash --almanac --json --at "$at"
  [ "$rc" -eq 0 ] || fail "--almanac --json --at \"$at\" exit $rc"
  python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$work/out" 2>/dev/null ||
    fail "--almanac --json --at \"$at\" is not JSON"
  run --snapshot "$work/keep.png" --at "$at"
  no_crash --snapshot "$work/keep.png" --at "$at"
  [ "$rc" -eq 0 ] && [ -s "$work/keep.png" ] || fail "--snapshot --at \"$at\" exit $rc"
  rm -f "$work/keep.png"
done
# a file name that is not UTF-8 is still a file name
run --snapshot "$work/keep-$bytes.png" --at "2026-12-06 21:00:00"
[ "$rc" -eq 0 ] && [ -s "$work/keep-$bytes.png" ] || fail "non-UTF-8 file name: exit $rc"
# the window's display names, escaped: a DISPLAY with control characters;
# a Wayland display that is not there is named as such, not as DISPLAY
DISPLAY=$':9\e[31mX' GDK_BACKEND=x11 "$prog" 2>"$work/err"; rc=$?
if grep -q "built without the window" "$work/err"; then
  echo "(built without the window: its display names are not checked)"
else
[ $rc -eq 1 ] && grep -qF "tenmado: cannot open display ':9\033[31mX'" "$work/err" && ! grep -q $'\e' "$work/err" ||
  fail "DISPLAY with an escape: exit $rc: $(od -c "$work/err" | head -3)"
GDK_BACKEND=wayland WAYLAND_DISPLAY=nope XDG_RUNTIME_DIR=$work "$prog" 2>"$work/err"; rc=$?
[ $rc -eq 1 ] && grep -q "^tenmado: cannot open the Wayland display 'nope'" "$work/err" ||
  fail "WAYLAND_DISPLAY=nope: exit $rc: $(cat "$work/err")"
fi
# a reader that stops early (more than a pipe holds is written): the Unix
# convention, ended by SIGPIPE (141),
# without a word (the exit-status table says so)
for args in "--almanac --days 3000" "--snapshot - --scale 3"; do
  # shellcheck disable=SC2086
  # (the default action of SIGPIPE, whatever the test runner ignores)
  env --default-signal=PIPE "$prog" $args --at "2026-12-06 21:00:00" 2>"$work/err" | head -c 10 >/dev/null
  rc=${PIPESTATUS[0]}
  [ "$rc" -eq 141 ] && [ ! -s "$work/err" ] || fail "$args | head -c 10: exit $rc: $(head -c 300 "$work/err")"
done

if [ $fails -ne 0 ]; then echo "$fails failure(s) in $tried runs"; exit 1; fi
echo "hostile_cli: all checks passed ($tried runs)"
