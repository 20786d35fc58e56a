#!/usr/bin/env bash
# Screenshots of the six pages on the shipped course under a virtual X server,
# of the read-along page after a take (traces, and a silent take) and of the
# mini mode's strip; into docs/screens, they are copied to the user guide too:
#   bash tools/screens.sh [BUILD_DIR] [OUT_DIR] [LESSON_ROW]
set -euo pipefail
build=${1:-build}
out=${2:-docs/screens}
mkdir -p "$out"
cmake --build "$build" --target page_screens
# Seeing only the program's own fonts, as on a fresh install (the pages look
# the same with other CJK fonts: tests/fonts/same_pixels.sh).
QT_QPA_PLATFORM=xcb bash tests/fonts/font_set.sh declared \
  xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/page_screens" "$out" "${3:-0}"
echo "written: $out/page{1,2,3,4,5,8,9}.png $out/page5_{traces,silent}.png $out/page8_typing.png $out/page9_{due,reviewing}.png $out/mini.png"
# The user guide shipped with the program shows the same pages.
if [ "$out" = docs/screens ]; then
  cp "$out"/page{1,2,3,4,5,8}.png "$out"/mini.png data/guide/images/
  echo "copied into data/guide/images/"
fi
