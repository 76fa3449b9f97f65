#!/bin/sh
# Set-up, build, run and test on Debian 12. Usage: sh dev.sh run | test | build
set -eu
cd "$(dirname "$0")"

PACKAGES="cmake make g++ pkg-config libfmt-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev
 libbenchmark-dev qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core xvfb xauth"

install_missing() {
  missing=""
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
}

build() {
  install_missing
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$(nproc)"
}

case "${1:-run}" in
  build) build ;;
  run)
    build
    set -- examples/copper111.pol examples/grid5.rst
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      build/src/app/quorix "$@"
    else
      # No screen here: run on a virtual one and keep a picture of it.
      QUORIX_SCREENSHOT="$PWD/build/quorix-screen.png" xvfb-run -a -s "-screen 0 1280x900x24" build/src/app/quorix "$@"
      echo "No display: the program ran on a virtual screen; see build/quorix-screen.png"
    fi
    ;;
  test)
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    ;;
  *) echo "usage: sh dev.sh run|test|build" >&2; exit 2 ;;
esac
