#!/bin/sh
# Set-up, build, run and test on Debian 12. Usage: sh dev.sh run | test | build | package
# `test` runs the tests of the normal build and the format and lint checks
# (tools/lint.sh), checks the Debian package (`package` does that alone), then
# runs the core and command-line tests again under AddressSanitizer and UBSan
# (build-asan), then every fuzz target for QUORIX_FUZZ_SECONDS (default 30)
# each (build-fuzz, clang).
# QUORIX_SKIP_SANITIZERS=1 leaves out the last two.
set -eu
cd "$(dirname "$0")"

# clang and libclang-rt-14-dev (the fuzzer and sanitizer runtimes, only
# recommended by clang) for the fuzz targets; dpkg-dev (dpkg-shlibdeps),
# desktop-file-utils and appstream for the Debian package and its checks.
PACKAGES="cmake make g++ pkg-config libfmt-dev libfftw3-dev libpugixml-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev
 libbenchmark-dev qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core xvfb xauth clang libclang-rt-14-dev
 clang-format clang-tidy ccache dpkg-dev desktop-file-utils appstream"

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

# ccache, where present, keeps rebuilds of unchanged files short.
launcher() {
  command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache" || true
}

build() {
  install_missing
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(launcher) "$@"
  cmake --build build -j"$(nproc)"
}

# The core and command-line tests under ASan and UBSan. The desktop program
# and the benchmarks are left out: the GUI tests exercise Qt more than our
# code, and the build stays within the CI's time.
sanitized_tests() {
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIX_SANITIZE=ON $(launcher) \
    -DQUORIX_BUILD_GUI=OFF -DQUORIX_BUILD_BENCH=OFF
  cmake --build build-asan -j"$(nproc)"
  # Leaks are reported except those inside Qt's own libraries (the command-line
  # tool draws through Qt), which the suppression file names.
  (cd build-asan &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions="$PWD/../.ci/lsan_qt.supp":print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
}

# The Debian package as a user gets it: built from the normal build, unpacked
# into a scratch root, its programs run from there and its file list checked.
package_check() {
  rm -f build/quorix_*.deb
  cmake --build build --target package -j"$(nproc)"
  deb=$(ls build/quorix_*.deb)
  root=$(mktemp -d)
  trap 'rm -rf "$root"' EXIT
  dpkg-deb -x "$deb" "$root"
  share="$root/usr/share"
  examples="$share/doc/quorix/examples"
  for f in bin/quorix bin/quorix-cli share/applications/org.quorix.Quorix.desktop \
    share/icons/hicolor/scalable/apps/org.quorix.Quorix.svg share/icons/hicolor/48x48/apps/org.quorix.Quorix.png \
    share/metainfo/org.quorix.Quorix.metainfo.xml share/mime/packages/quorix.xml share/man/man1/quorix.1.gz \
    share/man/man1/quorix-cli.1.gz share/bash-completion/completions/quorix-cli share/doc/quorix/copyright \
    share/doc/quorix/manual/index.html share/doc/quorix/examples/copper.xpe; do
    [ -s "$root/usr/$f" ] || { echo "package: /usr/$f missing" >&2; exit 1; }
  done
  version=$(dpkg-deb -f "$deb" Version)
  [ "$("$root/usr/bin/quorix-cli" --version)" = "quorix-cli $version" ] || { echo "package: wrong version" >&2; exit 1; }
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/quorix" --version | grep -qx "quorix $version"
  # One pole figure out of a Beartex file into a plain file, read back.
  "$root/usr/bin/quorix-cli" save "$examples/copper.xpe" "$examples/grid5.rst" --index 2 -o "$root/pf2.pol"
  "$root/usr/bin/quorix-cli" info "$root/pf2.pol" "$examples/grid5.rst" | grep -q "^Layout: *plain"
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "package: no Qt in Depends" >&2; exit 1; }
  desktop-file-validate "$share/applications/org.quorix.Quorix.desktop"
  if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net --explain "$share/metainfo/org.quorix.Quorix.metainfo.xml"
  fi
  rm -rf "$root"
  trap - EXIT
  echo "package: $deb checked"
}

# Each fuzz target for a bounded time; only where clang is there.
fuzz_targets() {
  if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ not found: fuzz targets skipped"
    return 0
  fi
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIX_BUILD_FUZZ=ON $(launcher)
  cmake --build build-fuzz -j"$(nproc)"
  QUORIX_FUZZ_JOBS="$(nproc)" sh fuzz/run_fuzzers.sh build-fuzz "${QUORIX_FUZZ_SECONDS:-30}"
}

case "${1:-run}" in
  build) build -DQUORIX_WERROR=OFF ;;
  run)
    build -DQUORIX_WERROR=OFF
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
    # Warnings fail the test build; a user's `run` build only shows them.
    build -DQUORIX_WERROR=ON
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
    sh tools/lint.sh build
    package_check
    [ "${QUORIX_SKIP_SANITIZERS:-0}" = 1 ] && exit 0
    sanitized_tests
    fuzz_targets
    ;;
  package)
    build
    package_check
    ;;
  *) echo "usage: sh dev.sh run|test|build|package" >&2; exit 2 ;;
esac
