#!/usr/bin/env bash
# The install rules: `cmake --install` into a temporary DESTDIR puts the
# program, the menu entry, the metainfo, the icons, the manual page and the
# documents where a desktop finds them; the validators pass without a
# warning; every file names the one application id; the installed program
# prints its version and paints a snapshot.
# Usage: install.sh <build-dir> <source-dir>
set -u
build=$1
src=$2
pix() { python3 "$src/tests/scripts/pngpix.py" "$@"; }
for tool in desktop-file-validate appstreamcli man python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
work=$(mktemp -d /tmp/tenmado-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

app_id=$(sed -n 's/^set(TENMADO_APP_ID "\(.*\)")$/\1/p' "$src/shell/desktop/CMakeLists.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$app_id" ] && [ -n "$version" ] || { echo "FAIL: no application id or version"; exit 1; }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { echo "FAIL: cmake --install"; cat "$work/install.log"; exit 1; }
usr=$root/usr
desktop=$usr/share/applications/$app_id.desktop
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
man=$usr/share/man/man1/tenmado.1.gz
doc=$usr/share/doc/tenmado
for f in "$desktop" "$metainfo" "$man" "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
         "$doc/README.md" "$doc/LICENSE" "$doc/copyright" "$doc/changelog.gz"; do
  [ -s "$f" ] || fail "not installed: ${f#"$root"}"
done
[ -x "$usr/bin/tenmado" ] || fail "no program in /usr/bin"
# each PNG icon of the size its folder names
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  if [ -f "$png" ]; then
    [ "$(pix "$png" size)" = "$size $size" ] || fail "icon ${size}x${size} is $(pix "$png" size)"
  else
    fail "no ${size}x${size} icon"
  fi
done
# the pictures the installed README links to
grep -o '](docs/[^)]*)' "$doc/README.md" | sed 's/^](//; s/)$//' | sort -u | while read -r link; do
  [ -s "$doc/$link" ] || echo "FAIL: the README's $link is not installed"
done | tee "$work/links"
[ -s "$work/links" ] && fails=$((fails + 1))

# the menu entry
if [ -f "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  grep -iE 'error|warning' <<<"$out" && fail "desktop-file-validate reports the above"
  for line in "Icon=$app_id" "StartupWMClass=$app_id" "Exec=tenmado" "Name[ja]=天窓" \
              "StartupNotify=true" "Type=Application"; do
    grep -qxF "$line" "$desktop" || fail "desktop file lacks $line"
  done
fi
# the metainfo
if [ -f "$metainfo" ]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  grep -E '^[WE]: ' <<<"$out" && fail "appstreamcli reports the above"
  grep -qF "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
  grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
  grep -qF "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
fi
# the manual page renders without a warning and names the version
if [ -f "$man" ]; then
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man exit $?"
  [ -s "$work/man.err" ] && fail "man warns: $(cat "$work/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES \
                 "THE PICTURE"; do
    grep -qx "$section" "$work/man.txt" || fail "manual page has no $section section"
  done
  grep -q "tenmado $version" "$work/man.txt" || fail "manual page does not name tenmado $version"
fi

# the installed program
out=$("$usr/bin/tenmado" --version) || fail "installed --version exit $?"
[ "$out" = "tenmado $version" ] || fail "installed --version prints: $out"
(unset DISPLAY WAYLAND_DISPLAY; "$usr/bin/tenmado" --snapshot "$work/snap.png" --at "2026-12-06 21:00:00") ||
  fail "installed snapshot exit $?"
[ -f "$work/snap.png" ] && [ "$(pix "$work/snap.png" size)" = "530 300" ] ||
  fail "installed snapshot is not a 530 x 300 picture"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "install: all checks passed (id $app_id, version $version)"
