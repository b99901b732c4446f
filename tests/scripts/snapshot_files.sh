#!/usr/bin/env bash
# The snapshot's file as an ordinary user finds it: a file the user may not
# write (0444, another user's, in a folder the user may not write) is
# refused and left as it was; a replaced file keeps its mode (0600 stays
# private); a symbolic link is followed (the file it points to is replaced,
# the link stays) and a link to a folder is refused as a folder is; the
# other name of a hard link keeps the old contents. No temporary file is
# ever left. Run by root, the program runs as nobody (setpriv); where no
# unprivileged user can run it the test is skipped (77), not passed.
# Usage: snapshot_files.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
here=$(cd "$(dirname "$0")" && pwd)
pix() { python3 "$here/pngpix.py" "$@"; }
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-files-test.XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
at="2026-12-06 21:00:00"

# ---- the user who runs the program
root=0
if [ "$(id -u)" = 0 ]; then
  root=1
  if ! id nobody >/dev/null 2>&1 || ! command -v setpriv >/dev/null; then
    echo "SKIP: running as root with no unprivileged user (nobody) and setpriv"; exit 77
  fi
  uid=$(id -u nobody); gid=$(id -g nobody)
  as_user() { setpriv --reuid="$uid" --regid="$gid" --clear-groups -- "$@"; }
  if ! as_user test -x "$prog"; then
    echo "SKIP: nobody cannot run $prog (a folder above it is private)"; exit 77
  fi
else
  uid=$(id -u); gid=$(id -g)
  as_user() { "$@"; }
fi

# snap NAME: a snapshot into $work/NAME as the user, with umask 022; the
# exit status into rc, stderr into $work/err
snap() {
  (umask 022; cd "$work" && as_user "$prog" --snapshot "$1" --at "$at") >/dev/null 2>"$work/err"
  rc=$?
}
is_picture() { [ "$(pix "$1" size 2>/dev/null)" = "530 300" ]; }
mode() { stat -c %a "$1"; }

# ---- the files, made by root or the user, then handed to the user
mkdir "$work/dir.png" "$work/sub" "$work/ro-dir"
for f in ro private group target sub/far hard ro-dir/file; do echo old >"$work/$f.png"; done
ln "$work/hard.png" "$work/other.png"
ln -s target.png "$work/link.png"
ln -s "$work/sub/far.png" "$work/abs-link.png"
ln -s link.png "$work/chain.png"
ln -s missing.png "$work/dangling.png"
ln -s dir.png "$work/dirlink.png"
ln -s ro.png "$work/rolink.png"
chown -hR "$uid:$gid" "$work"
chmod 444 "$work/ro.png"
chmod 600 "$work/private.png" "$work/target.png" "$work/sub/far.png"
chmod 640 "$work/group.png"
chmod 555 "$work/ro-dir"
if [ $root -eq 1 ]; then
  # another user's files: one the user may not write, one anyone may
  echo old >"$work/roots.png"
  echo old >"$work/shared.png"; chmod 666 "$work/shared.png"
fi

# ---- refused: status 1, a message, the file as it was
refused() {  # name word file-that-stays
  snap "$1"
  [ $rc -eq 1 ] || fail "$1: exit $rc (not 1)"
  grep -q "cannot write snapshot" "$work/err" && grep -qi -- "$2" "$work/err" ||
    fail "$1: the message lacks '$2': $(cat "$work/err")"
  [ -z "$3" ] || [ "$(cat "$work/$3")" = old ] || fail "$1: $3 was changed"
}
refused ro.png "write-protected" ro.png
[ "$(mode "$work/ro.png")" = 444 ] || fail "ro.png: mode $(mode "$work/ro.png")"
refused rolink.png "write-protected" ro.png
refused dir.png "a folder" ""
refused dirlink.png "a link to a folder" ""
[ -L "$work/dirlink.png" ] && [ -z "$(ls -A "$work/dir.png")" ] || fail "dirlink.png: the link or the folder changed"
refused ro-dir/file.png "permission" ro-dir/file.png
[ $root -eq 1 ] && refused roots.png "write-protected" roots.png

# ---- replaced: status 0, a picture, the mode kept
replaced() {  # name file-replaced mode
  snap "$1"
  [ $rc -eq 0 ] || fail "$1: exit $rc: $(cat "$work/err")"
  is_picture "$work/$2" || fail "$1: $2 is not the picture"
  [ "$(mode "$work/$2")" = "$3" ] || fail "$1: $2 has mode $(mode "$work/$2"), not $3"
}
replaced private.png private.png 600
[ "$(stat -c %u "$work/private.png")" = "$uid" ] || fail "private.png: owner changed"
replaced group.png group.png 640
replaced new.png new.png 644
replaced link.png target.png 600
[ "$(readlink "$work/link.png")" = target.png ] || fail "link.png is no longer the link to target.png"
echo old >"$work/target.png"; chown "$uid:$gid" "$work/target.png"
replaced chain.png target.png 600
[ -L "$work/chain.png" ] && [ -L "$work/link.png" ] || fail "chain.png: a link of the chain was replaced"
replaced abs-link.png sub/far.png 600
[ -L "$work/abs-link.png" ] || fail "abs-link.png was replaced"
replaced dangling.png missing.png 644
[ -L "$work/dangling.png" ] || fail "dangling.png was replaced"
# a hard link: the path gets the new file, the other name keeps the old one
replaced hard.png hard.png 644
[ "$(cat "$work/other.png")" = old ] || fail "other.png, the hard link, changed"
if [ $root -eq 1 ]; then
  # anyone may write it: replaced, the mode kept, now the user's own
  replaced shared.png shared.png 666
  [ "$(stat -c %u "$work/shared.png")" = "$uid" ] || fail "shared.png: not the user's file"
fi

# extended attributes (an ACL is one): kept on the new file, where the file
# system has them
echo old >"$work/attr.png"
if python3 -c 'import os, sys; os.setxattr(sys.argv[1], "user.tenmado", b"kept")' "$work/attr.png" 2>/dev/null; then
  "$prog" --snapshot "$work/attr.png" --at "$at" || fail "attr.png: not replaced"
  got=$(python3 -c 'import os, sys; print(os.getxattr(sys.argv[1], "user.tenmado").decode())' "$work/attr.png" 2>&1)
  [ "$got" = kept ] || fail "attr.png: the attribute user.tenmado lost: $got"
else
  echo "(no user extended attributes in $work: their check is left out)"
fi

left=$(find "$work" -name '.tenmado-snapshot-*')
[ -z "$left" ] || fail "temporary files left: $left"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "snapshot_files: all checks passed (as uid $uid)"
