#!/usr/bin/env bash
# The Debian package: cpack builds tenmado_VERSION_ARCH.deb with its
# dependencies, section, maintainer, description and copyright file; lintian
# finds no error and no missing hardening; apt-get installs it, the installed program prints its
# version and paints a snapshot, and the package (with any dependency its
# install brought along) is purged again, leaving the machine as it was.
# Where packages cannot be installed (not root, no apt-get, or tenmado
# already installed) the install part is skipped and the test reports
# SKIPPED (exit 77), never passed.
# Usage: package.sh <build-dir> <source-dir>
set -u
build=$1
src=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
work=$(mktemp -d /tmp/tenmado-package.XXXXXX)
installed=0
cleanup() {
  if [ $installed -eq 1 ]; then remove_package; fi
  rm -rf "$work"
}
trap cleanup EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
app_id=$(sed -n 's/^set(TENMADO_APP_ID "\(.*\)")$/\1/p' "$src/shell/desktop/CMakeLists.txt")
deb=$work/tenmado_${version}_$(dpkg --print-architecture).deb

# ---- build and read the package
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { echo "FAIL: cpack"; cat "$work/cpack.log"; exit 1; }
[ -f "$deb" ] || { echo "FAIL: no ${deb##*/}:"; ls "$work"; exit 1; }
info=$(dpkg-deb --info "$deb")
for field in "Package: tenmado" "Version: $version" "Section: science" "Priority: optional" \
             "Description: almanac and clock of the sky over Tokyo"; do
  grep -qF " $field" <<<"$info" || fail "control lacks '$field'"
done
grep -qE '^ Maintainer: .+ <.+@.+>' <<<"$info" || fail "no maintainer with an address"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
# the font by name, the libraries found by dpkg-shlibdeps
for dep in fonts-ipafont-gothic libgtk-3-0 libcairo2 libpango-1.0-0 libc6; do
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
files=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for f in ./usr/bin/tenmado "./usr/share/applications/$app_id.desktop" \
         "./usr/share/metainfo/$app_id.metainfo.xml" \
         "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
         "./usr/share/icons/hicolor/48x48/apps/$app_id.png" ./usr/share/man/man1/tenmado.1.gz \
         ./usr/share/doc/tenmado/copyright ./usr/share/doc/tenmado/changelog.gz; do
  grep -qxF "$f" <<<"$files" || fail "package lacks $f"
done

# ---- lintian: no error (warnings and notes are listed)
lintian --display-info "$deb" >"$work/lintian.log" 2>&1
grep -E '^[EWI]: ' "$work/lintian.log" | sed 's/^/lintian: /'
grep -q '^E: ' "$work/lintian.log" && fail "lintian reports errors"
grep -q 'hardening-' "$work/lintian.log" && fail "lintian finds the program built without hardening"

# ---- install, run, remove
skip=
if [ "$(id -u)" -ne 0 ]; then skip="not root"
elif ! command -v apt-get >/dev/null; then skip="no apt-get"
elif dpkg-query -W -f='${Status}' tenmado 2>/dev/null | grep -q "install ok installed"; then
  skip="tenmado is already installed here; it is left alone"
fi
if [ -n "$skip" ]; then
  [ $fails -ne 0 ] && { echo "$fails failure(s)"; exit 1; }
  echo "SKIPPED: the package is built and checked, but not installed: $skip"
  exit 77
fi
# What the install adds: the package and any dependency not yet installed
# (apt-get's plan); exactly these are purged afterwards, so that packages
# others install meanwhile are left alone.
adds=$(apt install --no-install-recommends --simulate "$deb" 2>/dev/null |
       awk '/^Inst / && $3 !~ /^\[/ {print $2}' | sort -u)
grep -qx tenmado <<<"$adds" || fail "apt-get plans no install of tenmado: $adds"
adds=$(printf '%s\ntenmado\n' "$adds" | sed '/^$/d' | sort -u)
remove_package() {
  installed=0
  # shellcheck disable=SC2086
  apt purge $adds >"$work/purge.log" 2>&1 || { echo "FAIL: apt-get purge"; cat "$work/purge.log"; }
}
installed=1
if apt install --no-install-recommends "$deb" >"$work/apt.log" 2>&1; then
  out=$(/usr/bin/tenmado --version) || fail "/usr/bin/tenmado --version exit $?"
  [ "$out" = "tenmado $version" ] || fail "/usr/bin/tenmado --version prints: $out"
  (unset DISPLAY WAYLAND_DISPLAY; /usr/bin/tenmado --snapshot "$work/snap.png") ||
    fail "installed snapshot exit $?"
  [ "$(python3 "$src/tests/scripts/pngpix.py" "$work/snap.png" size 2>/dev/null)" = "530 300" ] ||
    fail "installed snapshot is not a 530 x 300 picture"
  [ -f "/usr/share/applications/$app_id.desktop" ] || fail "no menu entry installed"
else
  fail "apt-get install ${deb##*/}: $(tail -n 5 "$work/apt.log")"
fi
remove_package
for p in $adds; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" &&
    fail "$p is still installed after removal"
done
[ ! -e /usr/bin/tenmado ] || fail "/usr/bin/tenmado is still there after removal"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "package: all checks passed (${deb##*/})"
