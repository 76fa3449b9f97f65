#!/bin/sh
# Format and lint checks of the sources.
# Usage: sh tools/lint.sh format          clang-format (.clang-format) on every C++ file
#        sh tools/lint.sh tidy BUILD_DIR   clang-tidy (.clang-tidy) with BUILD_DIR's compile commands
#        sh tools/lint.sh BUILD_DIR        both
# clang-tidy always checks the files changed since the merge base with main
# (QUORIX_LINT_BASE names another) and every other file whose inputs differ
# from a clean check kept in the cache (tools/tidy_cache.py), so a cold cache
# checks everything. Exits non-zero on any finding.
set -eu
cd "$(dirname "$0")/.."

# The tracked files, or all of them in a tree exported without git.
list_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    for pattern in "$@"; do
      find "${pattern%%/*}" -path "$pattern" -type f
    done | sort
  fi
}

format_check() {
  files=$(list_files 'src/*.cpp' 'src/*.h' 'cli/*.cpp' 'cli/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
    'bench/*.cpp' 'tools/*.cpp')
  echo "clang-format: $(echo "$files" | wc -l) files"
  # shellcheck disable=SC2086
  clang-format --dry-run --Werror $files
}

changed_files() {
  git rev-parse --is-inside-work-tree >/dev/null 2>&1 || return 0
  for base in ${QUORIX_LINT_BASE:-main origin/main}; do
    if merge=$(git merge-base HEAD "$base" 2>/dev/null); then
      git diff --name-only "$merge" -- 'src/*.cpp' 'cli/*.cpp'
      return 0
    fi
  done
}

tidy_check() {
  build=$1
  if [ ! -f "$build/compile_commands.json" ]; then
    echo "lint: $build/compile_commands.json missing (configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON)" >&2
    exit 1
  fi
  sources=$(list_files 'src/*.cpp' 'cli/*.cpp')
  # shellcheck disable=SC2086
  todo=$(python3 tools/tidy_cache.py select "$build" --changed "$(changed_files | tr '\n' ' ')" $sources)
  echo "clang-tidy: $(echo "$todo" | grep -c . || true) of $(echo "$sources" | wc -l) files to check"
  [ -n "$todo" ] || return 0
  # shellcheck disable=SC2086
  run-clang-tidy -quiet -p "$build" -j "$(nproc)" $todo > "$build/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u | head -100
    # The files checked clean still go into the cache, so the next run checks
    # only the others; a finding in a header may belong to any of them.
    bad=$(sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E "error:" | grep -oE "^[^:]+" | sort -u)
    if ! echo "$bad" | grep -qvE '\.cpp$'; then
      clean=$(for f in $todo; do echo "$bad" | grep -qxF "$(realpath "$f")" || echo "$f"; done)
      # shellcheck disable=SC2086
      [ -z "$clean" ] || python3 tools/tidy_cache.py record "$build" $clean
    fi
    echo "clang-tidy found problems; the full report is in $build/clang-tidy.log" >&2
    exit 1
  }
  # shellcheck disable=SC2086
  python3 tools/tidy_cache.py record "$build" $todo
}

case "${1:-build}" in
  format) format_check ;;
  tidy) tidy_check "${2:-build}" ;;
  *)
    format_check
    tidy_check "$1"
    ;;
esac
echo "lint: clean"
