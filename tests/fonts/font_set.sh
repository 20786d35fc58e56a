#!/usr/bin/env bash
# Runs a command with fontconfig seeing only one set of the machine's fonts,
# as on a learner's desktop with or without other CJK fonts:
#   declared  the program's own font packages (Liberation, AR PL UMing, DejaVu)
#   noto      and Noto CJK (fonts-noto-cjk, what Debian's Chinese desktop installs)
#   wqy       and WenQuanYi Zen Hei (fonts-wqy-zenhei)
# Usage: font_set.sh SET COMMAND [ARGS...]. Fails when the set's fonts are missing.
set -euo pipefail
set_name=$1
shift
dirs=(/usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/arphic
      /usr/share/fonts/truetype/dejavu)
case "$set_name" in
  declared) ;;
  noto) dirs+=(/usr/share/fonts/opentype/noto) ;;
  wqy) dirs+=(/usr/share/fonts/truetype/wqy) ;;
  *) echo "font_set.sh: no font set '$set_name' (declared, noto, wqy)" >&2; exit 2 ;;
esac
for d in "${dirs[@]}"; do
  [ -d "$d" ] || { echo "font_set.sh: $d is missing (bash tools/setup.sh installs it)" >&2; exit 1; }
done
conf=$(mktemp -d)
trap 'rm -rf "$conf"' EXIT
{
  echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
  for d in "${dirs[@]}"; do echo "<dir>$d</dir>"; done
  echo "<cachedir>$conf/cache</cachedir>"
  echo '<include ignore_missing="yes">/etc/fonts/conf.d</include></fontconfig>'
} >"$conf/fonts.conf"
FONTCONFIG_FILE="$conf/fonts.conf" "$@"
