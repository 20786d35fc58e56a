#!/usr/bin/env bash
# Runs the clang-tidy checks of .clang-tidy over the program's own sources
# (src/, tests/, bench/, tools/) as the build folder compiles them; fails on
# any finding.
#   bash tools/check_tidy.sh [BUILD_DIR] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${2:-2}
root=$(pwd)
# The Qt sources moc generates are no one's to mend.
files=$(python3 - "$build" "$root" <<'PY'
import json, os, sys
build, root = sys.argv[1], sys.argv[2]
for e in json.load(open(os.path.join(build, "compile_commands.json"))):
    f = os.path.realpath(os.path.join(e["directory"], e["file"]))
    if any(f.startswith(os.path.join(root, d) + os.sep) for d in ("src", "tests", "bench", "tools")):
        print(f)
PY
)
# GCC's own warning flags unknown to Clang are left to GCC.
run-clang-tidy -quiet -p "$build" -j "$jobs" -extra-arg=-Wno-unknown-warning-option $files \
  > "$build/clang-tidy.log" 2>&1 || true
if grep -E "(warning|error): .*\[[a-z-]+(\.[A-Za-z]+)*(,-warnings-as-errors)?\]" "$build/clang-tidy.log"; then
  echo "clang-tidy: findings above (whole log: $build/clang-tidy.log)" >&2
  exit 1
fi
grep -q "Error while processing\|error:" "$build/clang-tidy.log" && {
  grep -m 20 "error" "$build/clang-tidy.log" >&2
  echo "clang-tidy could not check every file (whole log: $build/clang-tidy.log)" >&2
  exit 1
}
echo "clang-tidy: no findings in $(echo "$files" | wc -w) files"
