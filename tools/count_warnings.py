#!/usr/bin/env python3
"""Counts the warnings the compiler of a build folder gives on Parlenda's own
sources with extra warning flags, by file and by flag, without building.

Each source of compile_commands.json under src/, tests/, bench/ or tools/ is
compiled again with -fsyntax-only and the flags; a warning is counted once
where it stands (a header included by many sources counts once).

Usage: tools/count_warnings.py BUILD_FOLDER [flags...]
       (default flags: -Wall -Wextra -Wshadow -Wconversion)
"""
import collections
import json
import os
import re
import shlex
import subprocess
import sys

build = sys.argv[1]
flags = sys.argv[2:] or ["-Wall", "-Wextra", "-Wshadow", "-Wconversion"]
root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
own = tuple(os.path.join(root, d) + os.sep for d in ("src", "tests", "bench", "tools"))
pattern = re.compile(r"^(/[^:]+):(\d+):(\d+): warning: (.*?) \[(-W[^\]]+)\]$")

seen = set()
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    source = os.path.abspath(os.path.join(entry["directory"], entry["file"]))
    if not source.startswith(own):
        continue
    args = entry.get("arguments") or shlex.split(entry["command"])
    if "-o" in args:
        i = args.index("-o")
        args = args[:i] + args[i + 2:]
    args = [a for a in args if a not in ("-c",) and not a.startswith("-Werror")]
    result = subprocess.run(args + flags + ["-fsyntax-only"], cwd=entry["directory"],
                            capture_output=True, text=True)
    for line in result.stderr.splitlines():
        m = pattern.match(line)
        if m and os.path.realpath(m.group(1)).startswith(own):
            seen.add((os.path.relpath(os.path.realpath(m.group(1)), root), int(m.group(2)),
                      int(m.group(3)), m.group(4), m.group(5).split(",")[0].split("=")[0]))

by_file = collections.Counter(w[0] for w in seen)
by_flag = collections.Counter(w[4] for w in seen)
print(f"{len(seen)} warnings")
for flag, n in by_flag.most_common():
    print(f"  {n:5d} {flag}")
for path, n in sorted(by_file.items()):
    kinds = collections.Counter(w[4] for w in seen if w[0] == path)
    print(f"{n:5d} {path}  " + ", ".join(f"{k} {v}" for k, v in kinds.most_common()))
if os.environ.get("WARNINGS_LIST"):
    for w in sorted(seen):
        print(f"{w[0]}:{w[1]}:{w[2]}: {w[3]} [{w[4]}]", file=sys.stderr)
