#!/usr/bin/env bash
# The book maker on a long recording with an SRT, beside its baseline in the
# same run: the ffmpeg command decoding the same audio and encoding it to mp3
# as the book maker does (mono, 22050 Hz, LAME at an average 48 kbit/s).
# Wall time and peak resident memory (GNU time) of each.
#
#   bench/make_book.sh BUILD_FOLDER [MINUTES]     (default 60)
set -euo pipefail
build=$1
minutes=${2:-60}
tool="$build/src/bookmaker/parlenda-make-book"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/lessons"
# A minute of speech (espeak-ng), looped to the length asked for, as AAC in m4a.
text="Where is the station? Go straight on, then turn left. Is it far from here? About ten minutes on foot."
espeak-ng -v en-us -s 150 -w "$work/part.wav" -- "$text"
ffmpeg -v error -y -stream_loop -1 -i "$work/part.wav" -t $((minutes * 60)) -ac 2 -ar 44100 -c:a aac -b:a 96k \
  "$work/lessons/talk.m4a"
part=$(ffprobe -v error -show_entries format=duration -of default=nokey=1:noprint_wrappers=1 "$work/part.wav")
# One cue per loop of the part.
awk -v part="$part" -v total=$((minutes * 60)) 'function t(s) { ms = int(s * 1000 + 0.5);
    return sprintf("%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000) }
  BEGIN { n = 0; for (s = 0; s + part <= total; s += part) { n++;
    printf "%d\n%s --> %s\nWhere is the station? Go straight on. | 车站在哪里？\n\n", n, t(s + 0.05), t(s + part - 0.05) } }' \
  > "$work/lessons/talk.srt"
measure() {  # label, command...
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2> "$work/err" || { cat "$work/err"; exit 1; }
  read -r seconds kilobytes < "$work/time"
  printf '%-34s %7.1f s  %7.1f MB peak\n' "$label" "$seconds" "$(echo "$kilobytes / 1024" | bc -l)"
  echo "$seconds $kilobytes" > "$work/$label.figures"
}
echo "A ${minutes}-minute m4a (AAC, stereo 44.1 kHz) with an SRT of $(grep -c -- '-->' "$work/lessons/talk.srt") cues:"
measure ffmpeg ffmpeg -v error -y -i "$work/lessons/talk.m4a" -ac 1 -ar 22050 -c:a libmp3lame -abr 1 -b:a 48k \
  "$work/baseline.mp3"
measure parlenda-make-book "$tool" "$work/lessons" "$work/program" --title Long
measure "idle: parlenda-make-book --help" "$tool" --help
read -r fs fk < "$work/ffmpeg.figures"
read -r bs bk < "$work/parlenda-make-book.figures"
read -r _ ik < "$work/idle: parlenda-make-book --help.figures"
printf 'time: %.2fx the ffmpeg command (goal at most 1.5x)\n' "$(echo "$bs / $fs" | bc -l)"
printf 'memory: %.1f MB above the idle program (goal at most 64 MB); ffmpeg %.1f MB\n' \
  "$(echo "($bk - $ik) / 1024" | bc -l)" "$(echo "$fk / 1024" | bc -l)"
