#!/bin/sh
# Format and lint checks of the sources: clang-format (.clang-format) on every
# C++ file, clang-tidy (.clang-tidy) on the program's own sources using the
# compile commands of BUILD_DIR. Exits non-zero on any finding.
# Usage: sh tools/lint.sh BUILD_DIR
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'cli/*.cpp' 'cli/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
  'bench/*.cpp' 'tools/*.cpp')
echo "clang-format: $(echo "$files" | wc -l) files"
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files

if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: $build/compile_commands.json missing (configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON)" >&2
  exit 1
fi
sources=$(git ls-files 'src/*.cpp' 'cli/*.cpp')
echo "clang-tidy: $(echo "$sources" | wc -l) files"
# shellcheck disable=SC2086
run-clang-tidy -quiet -p "$build" -j "$(nproc)" $sources > "$build/clang-tidy.log" 2>&1 || {
  grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u | head -100
  echo "clang-tidy found problems; the full report is in $build/clang-tidy.log" >&2
  exit 1
}
echo "lint: clean"
