#!/usr/bin/env bash
# Fails when a C++ file of the repository (or each FILE given) is not as
# clang-format (.clang-format) would write it, and names the files.
#   bash tools/check_format.sh [FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.cc' '*.hpp')
else
  files=("$@")
fi
unformatted=()
for f in "${files[@]}"; do
  clang-format --style=file:.clang-format --dry-run --Werror "$f" > /dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted (clang-format -i FILE): %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files formatted"
