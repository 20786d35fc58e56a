#!/bin/sh
# Rebuilds the demo course that ships in data/: Book01 (opened on first start,
# with set.dat, the effect sounds and Recorder.wav) and Book04 (wma audio).
# The output is byte-for-byte the same on every run, so the committed files
# change only when a script or the generator changes.
set -e
here=$(dirname "$0")
data="$here/../../data"
python3 "$here/make_book.py" "$here/scripts/Book01" "$data" --program-files
python3 "$here/make_book.py" "$here/scripts/Book04" "$data"
