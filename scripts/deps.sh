# Sourced by run.sh and test.sh: install the Debian 12 packages named in
# "$@" that are missing (apt-get, with sudo when not root). Nothing to do,
# and no network, when all are installed.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configure and build into $BUILD_DIR (build/ by default) with JOBS parallel
# jobs (2 by default); TARGET limits the build to one target.
BUILD_DIR=${BUILD_DIR:-build}
configure_and_build() {
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$BUILD_DIR" -j"${JOBS:-2}" ${TARGET:+--target "$TARGET"}
}
