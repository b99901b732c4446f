#!/usr/bin/env bash
# The command line without a display: --snapshot paints a 530 x 300 PNG with
# the #64ffff background (into a file whose name ends in .png, or to standard
# output for -), --at fixes the instant, --help explains, every bad input
# exits 2 and every output that cannot be written 1, with a message and no
# file left behind. Without a Japanese font the picture is still painted,
# with one warning that names the font package.
# Usage: snapshot.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
pix() { python3 "$here/pngpix.py" "$@"; }
work=$(mktemp -d /tmp/tenmado-snapshot-test.XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# the picture needs no display
unset DISPLAY WAYLAND_DISPLAY

# --help
out=$("$prog" --help 2>&1); rc=$?
[ $rc -eq 0 ] || fail "--help exit $rc"
for word in --snapshot --at --almanac --json --widget --version; do
  grep -q -- "$word" <<<"$out" || fail "--help does not mention $word"
done
# --version: the project's version, alone on stdout; --help names it too
version=$(sed -n 's/^project(tenmado VERSION \([0-9.]*\) .*/\1/p' "$2/CMakeLists.txt")
out=$("$prog" --version 2>&1); rc=$?
[ $rc -eq 0 ] && [ "$out" = "tenmado $version" ] || fail "--version exit $rc: $out"
grep -qx "tenmado $version" <<<"$("$prog" --help)" || fail "--help does not name tenmado $version"

# a snapshot at a chosen instant
png=$work/snap.png
"$prog" --snapshot "$png" --at "2026-12-06 21:00:00" 2>"$work/err"; rc=$?
[ $rc -eq 0 ] || fail "snapshot exit $rc: $(cat "$work/err")"
if [ -f "$png" ]; then
  [ "$(pix "$png" size)" = "530 300" ] || fail "size $(pix "$png" size)"
  for xy in "2 297" "527 297" "2 150" "300 2"; do
    # shellcheck disable=SC2086
    c=$(pix "$png" pixel $xy)
    [ "$c" = "#64ffff" ] || fail "pixel ($xy) is $c, not #64ffff"
  done
  n=$(pix "$png" count '#64ffff')
  [ "$n" -gt 30000 ] || fail "only $n background pixels"
  # the same instant gives the same picture
  "$prog" --snapshot "$work/again.png" --at "2026-12-06 21:00:00" || fail "second snapshot"
  cmp -s "$png" "$work/again.png" || fail "two snapshots of one instant differ"
  # another instant gives another picture
  "$prog" --snapshot "$work/other.png" --at "2026-12-06 21:00:01" || fail "third snapshot"
  cmp -s "$png" "$work/other.png" && fail "snapshots one second apart are equal"
  rm -f "$work/again.png" "$work/other.png"
else
  fail "no snapshot file"
fi
# now, without --at
"$prog" --snapshot "$work/now.png" || fail "snapshot of now"
[ -f "$work/now.png" ] && rm -f "$work/now.png"

# refused: exit 2 for a bad input (bad), 1 for an output that cannot be
# written (cannot), a message naming the problem, no file
bad() { refused 2 "$@"; }
cannot() { refused 1 "$@"; }
refused() {  # status expected-words... -- args...
  local want=$1
  shift
  local words=()
  while [ "$1" != "--" ]; do words+=("$1"); shift; done
  shift
  local err rc
  err=$("$prog" "$@" 2>&1 >/dev/null); rc=$?
  [ $rc -eq "$want" ] || fail "exit $rc (not $want) for: $(printf '%q ' "$@")"
  for w in "${words[@]}"; do
    grep -q -- "$w" <<<"$err" || fail "message for $(printf '%q ' "$@") lacks '$w': $err"
  done
}
out=$work/bad.png
for at in "2026-02-30 00:00:00" "2026-12-06 25:00:00" "0000-01-01 00:00:00" \
          "99999-01-01 00:00:00" "2026-13-01 00:00:00" "2026-12-06 24:00:00" \
          "2026-12-06 23:60:00" "2025-02-29 12:00:00" "" "2026-12-06T21:00:00" \
          "2026-12-06 21:00" " 2026-12-06 21:00:00" "$(printf 'x%.0s' {1..5000})" \
          $'2026-12-06 21:00:0\xff' $'\xef\xbc\x92026-12-06 21:00:00'; do
  bad "--at" "civil time" -- --snapshot "$out" --at "$at"
done
bad "Unknown option" -- --snapshot "$out" --bogus
bad "unexpected argument" -- --snapshot "$out" extra
bad "--json" -- --json
bad "--at" -- --snapshot "$out" --at
bad "1582-10-04" "1582-10-15" -- --snapshot "$out" --at "1582-10-10 12:00:00"
bad ".png" -- --snapshot "$work/x.jpg"
bad ".png" -- --snapshot "$work/snap.png.txt"
bad "standard output" -- --snapshot - --almanac
cannot "cannot write" "No such file" -- --snapshot "$work/missing/x.png"
mkdir "$work/taken.png"
cannot "cannot write" "folder" -- --snapshot "$work/taken.png"
rmdir "$work/taken.png"
cannot "cannot write" -- --snapshot "/proc/tenmado-test.png"
if [ "$(id -u)" != 0 ]; then
  mkdir "$work/ro" && chmod 555 "$work/ro"
  cannot "cannot write" -- --snapshot "$work/ro/x.png"
  [ -z "$(ls -A "$work/ro")" ] || fail "files left in a read-only folder"
fi
left=$(ls -A "$work" | grep -v '^snap.png$' | grep -v '^err$' | grep -v '^ro$')
[ -z "$left" ] || fail "files left behind: $left"

# the name's suffix in any case; - is standard output, not a file
"$prog" --snapshot "$work/upper.PNG" --at "2026-12-06 21:00:00" || fail "a name in .PNG"
cmp -s "$png" "$work/upper.PNG" || fail "the .PNG picture differs"
rm -f "$work/upper.PNG"
(cd "$work" && "$prog" --snapshot - --at "2026-12-06 21:00:00" | cat >"$work/piped") ||
  fail "--snapshot - into a pipe"
cmp -s "$png" "$work/piped" || fail "the picture on standard output differs from the file's"
[ -e "$work/-" ] && fail "--snapshot - wrote a file named -"
rm -f "$work/piped" "$work/-"
# a terminal on standard output gets no PNG bytes (script gives a terminal)
if command -v script >/dev/null; then
  script -qec "'$prog' --snapshot - --at '2026-12-06 21:00:00'" /dev/null >"$work/tty" 2>&1; rc=$?
  [ $rc -eq 2 ] || fail "--snapshot - to a terminal: exit $rc (not 2)"
  grep -q "terminal" "$work/tty" || fail "--snapshot - to a terminal: $(head -c 300 "$work/tty")"
  rm -f "$work/tty"
fi

# no Japanese font: the picture all the same, and one warning naming the
# package of the font (fontconfig sees DejaVu alone)
dejavu=/usr/share/fonts/truetype/dejavu
if [ -d "$dejavu" ]; then
  # the cache folder made beforehand: Pango starts fontconfig in a thread of
  # its own, and two threads making a missing cache folder at once make
  # fontconfig print "No writable cache directories" now and then
  mkdir -p "$work/fc/cache"
  printf '%s\n' '<?xml version="1.0"?>' '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">' \
    "<fontconfig><dir>$dejavu</dir><cachedir>$work/fc/cache</cachedir></fontconfig>" \
    >"$work/fc/fonts.conf"
  LC_ALL=C.UTF-8 FONTCONFIG_FILE=$work/fc/fonts.conf "$prog" --snapshot "$work/fc/boxes.png" \
    --at "2026-12-06 21:00:00" 2>"$work/fc/err"; rc=$?
  [ $rc -eq 0 ] || fail "no Japanese font: exit $rc"
  [ "$(pix "$work/fc/boxes.png" size 2>/dev/null)" = "530 300" ] || fail "no Japanese font: no picture"
  [ "$(wc -l <"$work/fc/err")" -eq 1 ] && grep -q "fonts-ipafont-gothic" "$work/fc/err" &&
    grep -q "日" "$work/fc/err" ||
    fail "no Japanese font: not one warning naming the glyphs and the package: $(cat "$work/fc/err")"
  rm -rf "$work/fc"
else
  fail "fonts-dejavu-core is not installed: no test of a machine without a Japanese font"
fi
# fontconfig with no font at all (as when too few file descriptors let it
# read nothing): the warning says what failed, and advises no package
mkdir "$work/fc"
printf '%s\n' '<?xml version="1.0"?>' "<fontconfig><cachedir>$work/fc/cache</cachedir></fontconfig>" \
  >"$work/fc/fonts.conf"
(ulimit -n 48; FONTCONFIG_FILE=$work/fc/fonts.conf exec "$prog" --snapshot "$work/fc/boxes.png" \
  --at "2026-12-06 21:00:00" 2>"$work/fc/err"); rc=$?
[ $rc -eq 0 ] || fail "no font at all: exit $rc"
[ "$(wc -l <"$work/fc/err")" -eq 1 ] &&
  grep -q "^tenmado: warning: no font could be loaded: fontconfig could not read its configuration or its fonts (at most 48 open files: ulimit -n)" "$work/fc/err" ||
  fail "no font at all: not one warning saying what failed: $(cat "$work/fc/err")"
rm -rf "$work/fc"
# with the font: not a word
"$prog" --snapshot "$work/quiet.png" --at "2026-12-06 21:00:00" 2>"$work/err"
[ -s "$work/err" ] && fail "a snapshot with the Japanese font says: $(cat "$work/err")"
rm -f "$work/quiet.png" "$work/err"

# the window without a display: say so, point to --snapshot
err=$("$prog" 2>&1); rc=$?
[ $rc -eq 1 ] || fail "no display: exit $rc (not 1)"
grep -q -- "--snapshot" <<<"$err" || fail "no display: message lacks --snapshot: $err"
grep -qiE "display|without the window" <<<"$err" || fail "no display: message lacks 'display': $err"

# the almanac prints at the chosen instant
"$prog" --almanac --at "2026-12-06 21:00:00" >/dev/null || fail "--almanac"
"$prog" --almanac --json --at "2026-12-06 21:00:00" >/dev/null || fail "--almanac --json"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "snapshot: all checks passed"
