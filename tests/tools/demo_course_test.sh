#!/usr/bin/env bash
# The demo course rebuilt twice by the book maker: both runs give the same
# bytes, and the same bytes as the course committed in data/.
#   demo_course_test.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root="$here/../.."
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in one two; do
  sh "$root/tools/make_book/make_demo_course.sh" "$build" "$work/$run" > "$work/$run.log"
done
diff -r "$work/one" "$work/two" || { echo "two runs differ"; exit 1; }
status=0
(cd "$work/one" && find . -type f | sort) > "$work/files"
while read -r file; do
  if ! cmp -s "$work/one/$file" "$root/data/$file"; then
    echo "data/${file#./} is not what the book maker makes: rebuild it with tools/make_book/make_demo_course.sh"
    status=1
  fi
done < "$work/files"
[ "$(wc -l < "$work/files")" -gt 20 ] || { echo "too few files made:"; cat "$work/files"; exit 1; }
exit $status
