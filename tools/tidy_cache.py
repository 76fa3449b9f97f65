#!/usr/bin/env python3
"""Which sources clang-tidy must check: a file whose inputs (its text, the
project headers it includes, the system headers' sizes and times, its compile
command, .clang-tidy and the clang-tidy version) are those of a clean check
kept in the cache is skipped, unless it is among the changed files.

  tidy_cache.py select BUILD_DIR --changed "A B" FILE...   prints the files to check
  tidy_cache.py record BUILD_DIR FILE...                   marks them clean

The cache lies in $QUORIX_TIDY_CACHE, else $XDG_CACHE_HOME/quorix-tidy or
~/.cache/quorix-tidy; one empty file per clean key."""
import hashlib
import json
import os
import shlex
import subprocess
import sys

SOURCE = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))


def cache_dir():
    if os.environ.get("QUORIX_TIDY_CACHE"):
        return os.environ["QUORIX_TIDY_CACHE"]
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(base, "quorix-tidy")


def commands(build):
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    return {os.path.realpath(os.path.join(e["directory"], e["file"])): e for e in entries}


def dependencies(entry):
    """The headers the compiler read for the object, from its dependency file;
    None when there is none (never built)."""
    args = entry.get("arguments") or shlex.split(entry.get("command", ""))
    depfile = None
    for flag, value in zip(args, args[1:]):
        if flag == "-MF":
            depfile = value
        elif flag == "-o" and depfile is None:
            depfile = value + ".d"
    if depfile is None:
        return None
    depfile = os.path.join(entry["directory"], depfile)
    try:
        with open(depfile, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return None
    text = text.replace("\\\n", " ").replace("\\ ", "\0")
    deps = []
    for rule in text.split("\n"):
        if ":" not in rule:
            continue
        deps += [d.replace("\0", " ") for d in rule.split(":", 1)[1].split()]
    return sorted(set(os.path.realpath(os.path.join(entry["directory"], d)) for d in deps))


def key(entry, fixed):
    deps = dependencies(entry)
    if deps is None:
        return None
    h = hashlib.sha256(fixed)
    # Named relative to the source tree, so that a clean check made in one
    # checkout holds for another checkout of the same files (CI's clone).
    command = entry.get("command", " ".join(entry.get("arguments", [])))
    h.update(command.replace(SOURCE, "@").encode())
    for path in deps:
        h.update(path.replace(SOURCE, "@", 1).encode())
        try:
            if path.startswith(SOURCE + os.sep):
                with open(path, "rb") as f:
                    h.update(f.read())
            else:
                st = os.stat(path)
                h.update(f"{st.st_size}:{st.st_mtime_ns}".encode())
        except OSError:
            return None
    return h.hexdigest()


def fixed_inputs():
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, check=False).stdout
    with open(os.path.join(SOURCE, ".clang-tidy"), "rb") as f:
        return version + f.read()


def main(argv):
    if len(argv) < 3 or argv[1] not in ("select", "record"):
        print(__doc__, file=sys.stderr)
        return 2
    build = argv[2]
    files = argv[3:]
    changed = set()
    if argv[1] == "select" and files[:1] == ["--changed"]:
        changed = {os.path.realpath(os.path.join(SOURCE, c)) for c in files[1].split()}
        files = files[2:]
    known = commands(build)
    fixed = fixed_inputs()
    store = cache_dir()
    os.makedirs(store, exist_ok=True)
    for name in files:
        path = os.path.realpath(os.path.join(SOURCE, name))
        entry = known.get(path)
        k = key(entry, fixed) if entry else None
        if argv[1] == "select":
            if path in changed or k is None or not os.path.exists(os.path.join(store, k)):
                print(name)
        elif k is not None:
            open(os.path.join(store, k), "w", encoding="utf-8").close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
