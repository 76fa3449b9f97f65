#!/bin/sh
# Set-up, build, run and test on Debian 12. Usage: sh dev.sh run | test | build | package
# `test` checks the format, builds, runs the tests (the three that need a
# user without root's rights as such a user), lints with clang-tidy, checks
# the Debian package, then builds one tree with clang, AddressSanitizer and
# UBSan (build-san) that runs the core and command-line tests again and every
# fuzz target for QUORIX_FUZZ_SECONDS (default 30) each. Each stage says how
# long it took. QUORIX_SKIP_SANITIZERS=1 leaves out the sanitized tree.
set -eu
cd "$(dirname "$0")"

# clang and libclang-rt-14-dev (the fuzzer and sanitizer runtimes, only
# recommended by clang) for the sanitized tree; python3 runs run-clang-tidy;
# dpkg-dev (dpkg-shlibdeps), file (CPack's Debian generator calls it),
# desktop-file-utils and appstream for the Debian package and its checks;
# util-linux (setpriv) and passwd (useradd) for the tests run without root.
PACKAGES="cmake make g++ pkg-config libfmt-dev libfftw3-dev libpugixml-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev
 libbenchmark-dev qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core xvfb xauth clang libclang-rt-14-dev
 clang-format clang-tidy python3 ccache git dpkg-dev file desktop-file-utils appstream util-linux passwd"

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

# Runs a stage and says how long it took.
stage() {
  name=$1
  shift
  started=$(date +%s)
  "$@"
  echo "dev.sh: stage $name took $(($(date +%s) - started)) s"
}

# ccache, where present, keeps rebuilds of unchanged files short; paths taken
# relative to this clone let another clone of the same sources share its cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
launcher() {
  command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache" || true
}

# One configuration for run, build, test and package, so that none of them
# rebuilds what another built. Warnings are errors in it: the sources are kept
# free of them on Debian 12's compiler, the one this script is for.
build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIX_WERROR=ON $(launcher)
  cmake --build build -j"$(nproc)"
}

unit_tests() {
  (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
}

# The tests of refused writes (read-only files and folders) skip as root, who
# may write anywhere; as root they run again as a throwaway user without
# rights, with a scratch folder of that user's own.
UNPRIVILEGED_TESTS="SafeWrite.AFolderWithoutWritePermission:OutputBadInput.AFileTheUserMayNotWriteIsRefusedAndKept:AsciiWriterFiles.ReadOnlyFolderKeepsTheOldFile"
unprivileged_tests() {
  [ "$(id -u)" -eq 0 ] || return 0
  user=quorix-test
  created=0
  if ! id "$user" >/dev/null 2>&1; then
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
    created=1
  fi
  scratch=$(mktemp -d)
  chown "$user" "$scratch"
  # The binary reads the examples from the source tree; a tree in a private
  # folder (root's home) cannot be read by the user.
  if ! setpriv --reuid="$user" --regid="$user" --clear-groups test -r examples/copper.xpe; then
    echo "unprivileged tests: $PWD cannot be read by $user; run from a folder others may read" >&2
    rm -rf "$scratch"
    [ "$created" -eq 0 ] || userdel "$user"
    return 1
  fi
  status=0
  setpriv --reuid="$user" --regid="$user" --clear-groups env HOME="$scratch" TMPDIR="$scratch" \
    build/tests/quorix_tests --gtest_filter="$UNPRIVILEGED_TESTS" > "$scratch/log" 2>&1 || status=$?
  # A renamed test would leave the filter matching fewer: all three must pass.
  if [ "$status" -ne 0 ] || ! grep -q "PASSED  \] 3 tests" "$scratch/log"; then
    cat "$scratch/log" >&2
    echo "unprivileged tests: not all three passed as $user" >&2
    status=1
  else
    echo "unprivileged tests: 3 passed as $user"
  fi
  rm -rf "$scratch"
  [ "$created" -eq 0 ] || userdel "$user"
  return "$status"
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

# One tree built with clang, ASan and UBSan serves the sanitized tests and the
# fuzz targets, so the core is compiled once for both. The desktop program and
# the benchmarks are left out: the GUI tests exercise Qt more than our code.
sanitized_build() {
  cmake -S . -B build-san -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIX_SANITIZE=ON \
    -DQUORIX_BUILD_FUZZ=ON -DQUORIX_BUILD_GUI=OFF -DQUORIX_BUILD_BENCH=OFF $(launcher)
  cmake --build build-san -j"$(nproc)"
}

sanitized_tests() {
  # Leaks are reported except those inside Qt's own libraries (the command-line
  # tool draws through Qt), which the suppression file names.
  (cd build-san &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions="$PWD/../.ci/lsan_qt.supp":print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
}

fuzz_targets() {
  QUORIX_FUZZ_JOBS="$(nproc)" sh fuzz/run_fuzzers.sh build-san "${QUORIX_FUZZ_SECONDS:-30}"
}

case "${1:-run}" in
  build)
    install_missing
    build
    ;;
  run)
    install_missing
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
    stage install install_missing
    # The format needs no compiler: a misformatted file fails in seconds.
    stage format sh tools/lint.sh format
    stage build build
    stage tests unit_tests
    stage unprivileged unprivileged_tests
    stage tidy sh tools/lint.sh tidy build
    stage package package_check
    [ "${QUORIX_SKIP_SANITIZERS:-0}" = 1 ] && exit 0
    stage sanitized-build sanitized_build
    stage sanitized-tests sanitized_tests
    stage fuzz fuzz_targets
    ;;
  package)
    install_missing
    build
    package_check
    ;;
  *) echo "usage: sh dev.sh run|test|build|package" >&2; exit 2 ;;
esac
