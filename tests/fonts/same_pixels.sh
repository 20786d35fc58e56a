#!/usr/bin/env bash
# The window looks the same whatever other CJK fonts the machine has: the page
# screenshots made seeing only the program's own fonts, and again with Noto
# CJK and with WenQuanYi Zen Hei installed beside them, agree pixel for pixel.
# (page_screens itself fails when a shown text is drawn in another face.)
# Usage: same_pixels.sh PAGE_SCREENS
set -euo pipefail
page_screens=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for set in declared noto wqy; do
  mkdir "$work/$set"
  QT_QPA_PLATFORM=offscreen bash "$here/font_set.sh" "$set" "$page_screens" "$work/$set" \
    >"$work/$set.log" 2>&1 || { cat "$work/$set.log"; echo "page_screens failed with the $set fonts"; exit 1; }
done
status=0
for shot in "$work"/declared/*.png; do
  name=$(basename "$shot")
  for set in noto wqy; do
    differ=$(compare -metric AE "$shot" "$work/$set/$name" null: 2>&1 || true)
    if [ "$differ" != 0 ]; then
      echo "$name: $differ pixels differ with the $set fonts"
      status=1
    fi
  done
done
[ "$status" = 0 ] && echo "the same pixels with declared, noto and wqy fonts: $(ls "$work/declared" | wc -l) screenshots"
exit "$status"
