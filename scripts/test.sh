#!/usr/bin/env bash
# Build tenmado on a fresh Debian 12 machine and run every test (numbers,
# recorder, Cairo painter, command line, the real window under Xvfb), then
# build again with the sanitizers and run them all there too.
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

# The same tests once more in a second build with AddressSanitizer and
# UndefinedBehaviorSanitizer: every error halts, leaks are checked at exit
# (SANITIZE=0 skips this stage).
san_rc=0
if [ "${SANITIZE:-1}" != 0 ]; then
  SAN_DIR=${SAN_BUILD_DIR:-$BUILD_DIR-sanitize}
  BUILD_DIR=$SAN_DIR configure_and_build -DTENMADO_SANITIZE=ON -DTENMADO_BENCH=OFF
  set +e
  ctest --test-dir "$SAN_DIR" --output-on-failure 2>&1 | tee "$SAN_DIR"/ctest.log
  san_rc=${PIPESTATUS[0]}
  set -e
fi

echo
echo "tests: $(grep -E '^[0-9]+% tests passed' "$BUILD_DIR"/ctest.log | tail -n 1)"
if [ "${SANITIZE:-1}" != 0 ]; then
  echo "tests with sanitizers: $(grep -E '^[0-9]+% tests passed' "$SAN_DIR"/ctest.log | tail -n 1)"
fi
[ "$rc" -eq 0 ] && [ "$san_rc" -eq 0 ]
