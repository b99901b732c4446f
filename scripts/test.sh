#!/usr/bin/env bash
# Build tenmado on a fresh Debian 12 machine and run every test (numbers,
# recorder, Cairo painter, command line, the real window under Xvfb, the
# install rules and the Debian package), then build again with the
# sanitizers and run them all there too.
# Beyond the build: rsvg-convert (librsvg2-bin) draws the PNG icons;
# dbus-run-session (dbus-bin, dbus-daemon, dbus-session-bus-common) gives the
# window test a session bus; desktop-file-validate (desktop-file-utils),
# appstreamcli (appstream) and man (man-db) check the installed files;
# dpkg-shlibdeps (dpkg-dev, with file) finds the package's library
# dependencies and lintian checks the package; weston (its headless backend
# and weston-screenshooter) runs the window on Wayland, and gapplication
# (libglib2.0-bin) sends it the quit action there; fonts-dejavu-core is the
# only font of the test of a machine without a Japanese one; python3-icalendar
# (a maintained iCalendar reader) checks the calendar export (--ics); gettext
# (xgettext, msgfmt, msgcat, msgmerge, msgattrib, msgcmp) makes the message
# template and catalogs and checks them, and locales gives localedef the
# definitions of the EUC-JP and ISO-8859-1 locales the messages test makes.
# Exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/deps.sh
. scripts/deps.sh

install_missing cmake g++ make pkg-config libgtk-3-dev libgtest-dev libbenchmark-dev \
  nlohmann-json3-dev fonts-ipafont-gothic iso-codes tzdata fonts-dejavu-core xvfb x11-utils xdotool imagemagick python3 \
  librsvg2-bin dbus-bin dbus-daemon dbus-session-bus-common \
  desktop-file-utils appstream man-db dpkg-dev file lintian weston libglib2.0-bin \
  python3-icalendar gettext locales at-spi2-core python3-pyatspi python3-gi
# (at-spi2-core: the accessibility bus and registry; python3-pyatspi: the
# window tests read the menu, the dialogs and the picture's accessible
# description through it; python3-gi: their stand-in notification server)
# The regeneration checks of the generated tables need ../shared/data here:
# without it they fail instead of skipping. A warning stops the developer's
# build (TENMADO_WERROR); a packager's build only warns.
configure_and_build -DBUILD_TESTING=ON -DTENMADO_REQUIRE_SHARED_DATA=ON -DTENMADO_WERROR=ON

# The program as a packager builds it (Release, -O3, Debian's flags from
# dpkg-buildflags, no -Werror): it must build; the tests run on the build
# above.
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  BUILD_DIR=$BUILD_DIR-release TARGET=tenmado configure_and_build -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF

# The tests run side by side, JOBS at a time (each has its own folders and
# its own X display; the package test runs alone).
set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"${JOBS:-2}" 2>&1 | tee "$BUILD_DIR"/ctest.log
rc=${PIPESTATUS[0]}
set -e

# The same tests once more in a second build with AddressSanitizer and
# UndefinedBehaviorSanitizer: every error halts, leaks are checked at exit
# (SANITIZE=0 skips this stage).
san_rc=0
if [ "${SANITIZE:-1}" != 0 ]; then
  SAN_DIR=${SAN_BUILD_DIR:-$BUILD_DIR-sanitize}
  BUILD_DIR=$SAN_DIR configure_and_build -DBUILD_TESTING=ON -DTENMADO_REQUIRE_SHARED_DATA=ON \
    -DTENMADO_SANITIZE=ON -DTENMADO_BENCH=OFF -DTENMADO_WERROR=ON
  set +e
  ctest --test-dir "$SAN_DIR" --output-on-failure -j"${JOBS:-2}" 2>&1 | tee "$SAN_DIR"/ctest.log
  san_rc=${PIPESTATUS[0]}
  set -e
fi

echo
echo "tests: $(grep -E '^[0-9]+% tests passed' "$BUILD_DIR"/ctest.log | tail -n 1)"
if [ "${SANITIZE:-1}" != 0 ]; then
  echo "tests with sanitizers: $(grep -E '^[0-9]+% tests passed' "$SAN_DIR"/ctest.log | tail -n 1)"
fi
[ "$rc" -eq 0 ] && [ "$san_rc" -eq 0 ]
