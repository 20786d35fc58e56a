#!/usr/bin/env bash
# Installs the Debian 12 packages Parlenda needs to build, run, test and make
# course books. Runs apt-get as root, or through sudo when not root.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libfontconfig-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libsoundtouch-dev libsdl2-dev libfftw3-dev libxxhash-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-arphic-uming fonts-dejavu-core
  # Other CJK fonts learners have: the tests check the window ignores them.
  fonts-noto-cjk fonts-wqy-zenhei
  xvfb xauth xdotool x11-apps imagemagick
  # The book maker (src/bookmaker): speech, mp3, transcript alignment; the
  # ffmpeg command makes test fixtures and the benchmarks' baseline.
  libespeak-ng-dev libmp3lame-dev libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us
  # Real recorded speech (a LibriVox reading) for bench/make_book_alignment.
  pocketsphinx-testdata
  espeak-ng ffmpeg python3
  desktop-file-utils appstream dpkg-dev qt6-wayland weston
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The review queue's scheduler is checked against ts-fsrs under node; a
# machine whose node came from elsewhere keeps it.
command -v npm >/dev/null || missing+=(nodejs npm)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
reference="$(dirname "$0")/fsrs_reference"
[ -d "$reference/node_modules/ts-fsrs" ] ||
  npm ci --prefix "$reference" --no-audit --no-fund --loglevel=error
