#!/bin/sh
# Rebuilds the demo course that ships in data/: Book01 (opened on first start,
# with set.dat, the effect sounds and Recorder.wav) and Book04 (wma audio),
# with the book maker built in BUILD (default: build).
#
#   tools/make_book/make_demo_course.sh [BUILD [PROGRAM_FOLDER]]
#
# The output is byte-for-byte the same on every run, so the committed files
# change only when a script or the book maker changes (the ctest entry
# demo_course checks it).
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
data=${2:-$here/../../data}
tool="$build/src/bookmaker/parlenda-make-book"
[ -x "$tool" ] || { echo "no $tool: build the target parlenda-make-book first" >&2; exit 1; }
"$tool" "$here/scripts/Book01" "$data" --program-files
"$tool" "$here/scripts/Book04" "$data"
