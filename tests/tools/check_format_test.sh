#!/usr/bin/env bash
# The format check of .ci/run fails on a file that is not formatted and
# passes one that is.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'int  main( ){return 0;}\n' > "$dir/messy.cpp"
printf 'int main() { return 0; }\n' > "$dir/tidy.cpp"
if bash "$root/tools/check_format.sh" "$dir/messy.cpp" 2> "$dir/err"; then
  echo "FAIL: an unformatted file passed" >&2
  exit 1
fi
grep -q "messy.cpp" "$dir/err" || { echo "FAIL: the file is not named" >&2; exit 1; }
bash "$root/tools/check_format.sh" "$dir/tidy.cpp" > /dev/null
echo "ok"
