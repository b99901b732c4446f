#!/usr/bin/env bash
# Build tenmado on a fresh Debian 12 machine and run it: the window on a
# desktop; without a display, a picture of the present moment (PNG) instead.
# Arguments are passed to the program (see README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/deps.sh
. scripts/deps.sh

# The installation's and the build's output go to stderr: stdout is the
# program's alone (bash scripts/run.sh --almanac --json | python3 -m json.tool).
# (librsvg2-bin: rsvg-convert draws the window's icon from its SVG at build time;
# gettext: xgettext and msgfmt make the message catalogs; iso-codes: the
# country names of places; tzdata: the named time zones)
{
  install_missing cmake g++ make pkg-config libgtk-3-dev nlohmann-json3-dev \
    fonts-ipafont-gothic librsvg2-bin gettext iso-codes tzdata
  # a new build folder without the tests (no GoogleTest needed); one that
  # scripts/test.sh configured keeps them
  testing=()
  [ -f "$BUILD_DIR/CMakeCache.txt" ] || testing=(-DBUILD_TESTING=OFF)
  TARGET=tenmado configure_and_build "${testing[@]}"
} >&2

if [ $# -gt 0 ] || [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD_DIR"/tenmado "$@"
fi
picture=$(cd "$BUILD_DIR" && pwd)/tenmado-now.png
"$BUILD_DIR"/tenmado --snapshot "$picture"
echo "No display here, so no window: the picture of the present moment is in"
echo "  $picture"
echo "(run 'bash scripts/run.sh' on a desktop for the live window)"
