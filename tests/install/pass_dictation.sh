#!/usr/bin/env bash
# Runs inside the virtual X server: starts the installed "parlenda" from the
# PATH, opens the dictation page with a click on its tab, types each sentence
# of the lesson with real key presses and Enter, closes each score message
# with Enter, and closes the window with the skin's close button.
set -euo pipefail
source "$(dirname "$0")/../smoke/window.sh"
sentences="$1"
cd "$2"
parlenda 2>stderr.log &
pid=$!
fail() { echo "$1"; kill $pid 2>/dev/null || true; exit 1; }

wait_for_window
[ -n "$win" ] || fail "no window named Parlenda"

# Another visible window is a message box; Enter closes it.
other_window() { xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$win$" | head -n 1 || true; }
close_boxes() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    local box
    box=$(other_window)
    [ -z "$box" ] && return 0
    xdotool windowfocus --sync "$box" key Return || true
    sleep 0.2
  done
}
# A box that shows up within a second: the score message of a sentence.
wait_box() {
  for _ in $(seq 1 20); do
    [ -n "$(other_window)" ] && return 0
    sleep 0.05
  done
  return 1
}

sleep 0.5
close_boxes
xdotool mousemove --window "$win" 405 48 click 1  # the dictation tab
sleep 0.3
n=0
while IFS= read -r sentence; do
  n=$((n + 1))
  xdotool windowfocus --sync "$win"
  xdotool type --delay 4 "$sentence"
  xdotool key Return
  wait_box || fail "no score message after sentence $n: $sentence"
  close_boxes
done < "$sentences"
echo "typed $n sentences"
# The score sheet is on show now; the close button of the window is at 760,8.
xdotool mousemove --window "$win" 760 8 click 1
for _ in $(seq 1 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "still running after close"
wait $pid
