#!/usr/bin/env bash
# Build tenmado on a fresh Debian 12 machine and run every test (numbers,
# recorder, Cairo painter, command line, the real window under Xvfb).
# Exits non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/deps.sh
. scripts/deps.sh

install_missing cmake g++ make pkg-config libgtk-3-dev libgtest-dev libbenchmark-dev \
  nlohmann-json3-dev fonts-ipafont-gothic xvfb x11-utils xdotool imagemagick python3
configure_and_build

set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure 2>&1 | tee "$BUILD_DIR"/ctest.log
rc=${PIPESTATUS[0]}
set -e
echo
grep -E '^[0-9]+% tests passed' "$BUILD_DIR"/ctest.log | tail -n 1
exit "$rc"
