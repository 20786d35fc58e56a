#!/usr/bin/env bash
# The window under Wayland: a Wayland compositor (weston, drawing into a
# virtual X server, so that real pointer input reaches it) runs the program
# on Qt's Wayland platform. Dragging the window's background moves the window
# (the compositor moves it on the program's request) and the skin's minimise
# button hides it. Positions are read from screenshots of the compositor.
#
# Every step waits on the event it needs, never on a pause: the program's
# Wayland messages (WAYLAND_DEBUG) tell when the window holds the pointer, when
# it has taken the press and asked the compositor to move it, and when it has
# asked to be minimised; screenshots tell when the compositor has done so.
set -euo pipefail
program_dir="$1"
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${WAYLAND_TEST_INSIDE:-}" ]; then
  exec env WAYLAND_TEST_INSIDE=1 xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" "$@"
fi

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; [ -n "${KEEP_WORK:-}" ] && cp -r "$work" "$KEEP_WORK"; rm -rf "$work"; }
trap cleanup EXIT
fail() {
  echo "$1"
  echo "--- the program's last Wayland messages:"; tail -n 15 "$work/program.log" 2>/dev/null || true
  exit 1
}
# Runs `$@` every 50 ms until it succeeds, for at most 30 s (the budget of a
# loaded machine, not a pause: the loop ends as soon as the event has come).
poll() {
  local end=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$end" ]; do "$@" && return 0; sleep 0.05; done
  return 1
}
wait_for() { local what=$1; shift; poll "$@" || fail "timed out waiting for $what"; }

weston --backend=x11-backend.so --use-pixman --socket=parlenda-test --width=1100 --height=800 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for "weston's socket" test -S "$XDG_RUNTIME_DIR/parlenda-test"

mkdir "$work/program" && cp -r "$program_dir"/. "$work/program"/
(cd "$work/program" && WAYLAND_DEBUG=client WAYLAND_DISPLAY=parlenda-test \
  QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy ./parlenda >"$work/program.log" 2>&1) &
pids+=($!)

# Lines of the program's log that match a pattern (a client's messages read
# "wl_pointer@12.enter(...)"; its requests "-> xdg_toplevel@20.move(...)").
count() { grep -c -e "$1" "$work/program.log" || true; }
# Waits for a new line matching the pattern after `before` lines had matched.
wait_message() {
  local pattern=$1 before=$2
  newer() { [ "$(count "$pattern")" -gt "$before" ]; }
  wait_for "the program's message $pattern" newer
}

shot=0
glyph() {
  shot=$((shot + 1))
  import -window root "$work/shot$shot.png" && python3 "$here/close_glyph.py" "$work/shot$shot.png"
  rm -f "$work/shot$shot.png"
}
# Waits until the close glyph is at "x y" (or "none"), and stays there for a
# second screenshot: the compositor has finished what it was doing.
glyph_at() { [ "$(glyph)" = "$1" ] && [ "$(glyph)" = "$1" ]; }
# The close glyph's place once it holds still in two screenshots in a row.
steady_glyph() {
  local a b
  a=$(glyph)
  for _ in $(seq 1 20); do
    b=$(glyph)
    [ "$a" = "$b" ] && { echo "$a"; return 0; }
    a=$b
  done
  echo "$b"
}

shown() { [ "$(glyph)" != none ]; }
wait_for "the window on the compositor" shown
read -r x0 y0 <<<"$(steady_glyph)"
[ -n "${y0:-}" ] || fail "the window went from the screen"
# The close glyph spans x 750..771 of the window: the window's left edge is x0 - 750.
left=$((x0 - 750)) top=$y0
echo "window at $left,$top"

# The pointer onto the toolbar background (window 600, 50): the window holds
# the pointer once the program has been told it entered more often than left.
holds_pointer() {
  [ "$(count "wl_pointer@[0-9]*\.enter(")" -gt "$(count "wl_pointer@[0-9]*\.leave(")" ]
}
# The pointer comes in from outside the compositor's X window (1100 x 800 in
# a screen of 1280 x 900): weston's X backend follows the pointer from the
# moment it enters its window, and one already inside when weston started is
# never seen (the drag then went nowhere).
xdotool mousemove 1200 850
xdotool mousemove $((left + 600)) $((top + 50))
wait_for "the window to hold the pointer" holds_pointer
# Press: the program takes it and asks the compositor to move the window.
moves=$(count "-> xdg_toplevel@[0-9]*\.move(")
xdotool mousedown 1
wait_message "-> xdg_toplevel@[0-9]*\.move(" "$moves"
# Move by (150, 100) while the button is held, release.
for _ in $(seq 1 10); do xdotool mousemove_relative -- 15 10; done
xdotool mouseup 1
# The compositor has moved the window once the glyph holds still away from
# where it was.
moved() { read -r x1 y1 <<<"$(steady_glyph)"; [ "$x1 $y1" != "$x0 $y0" ]; }
poll moved || true
echo "after the drag: close glyph at $x1,$y1 (was $x0,$y0)"
dx=$((x1 - x0)) dy=$((y1 - y0))
if [ "$dx" -lt 145 ] || [ "$dx" -gt 155 ] || [ "$dy" -lt 95 ] || [ "$dy" -gt 105 ]; then
  fail "the window did not follow the drag (moved by $dx,$dy)"
fi

# The skin's minimise glyph is at window (719, 8).
minimised=$(count "-> xdg_toplevel@[0-9]*\.set_minimized(")
xdotool mousemove $((x1 - 750 + 719)) $((y1 + 8)) click 1
wait_message "-> xdg_toplevel@[0-9]*\.set_minimized(" "$minimised"
hidden() { glyph_at none; }
wait_for "the window to go from the screen after minimise" hidden
echo "wayland window test passed"
