#!/usr/bin/env bash
# The window under Wayland: a Wayland compositor (weston, drawing into a
# virtual X server, so that real pointer input reaches it) runs the program
# on Qt's Wayland platform. Dragging the window's background moves the window
# (the compositor moves it on the program's request) and the skin's minimise
# button hides it. Positions are read from screenshots of the compositor.
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
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
weston --backend=x11-backend.so --use-pixman --socket=parlenda-test --width=1100 --height=800 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/parlenda-test" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/parlenda-test" ] || { cat "$work/weston.log"; echo "weston did not start"; exit 1; }

mkdir "$work/program" && cp -r "$program_dir"/. "$work/program"/
(cd "$work/program" && WAYLAND_DISPLAY=parlenda-test QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy \
  ./parlenda >"$work/program.log" 2>&1) &
pids+=($!)

glyph() { import -window root "$work/shot.png" && python3 "$here/close_glyph.py" "$work/shot.png"; }
start="none"
for _ in $(seq 1 50); do
  sleep 0.2
  start=$(glyph)
  [ "$start" != none ] && break
done
[ "$start" != none ] || { cat "$work/program.log"; echo "no window on the compositor"; exit 1; }
read -r x0 y0 <<<"$start"
sleep 0.5
start=$(glyph)
read -r x0 y0 <<<"$start"
# The close glyph spans x 750..771 of the window: the window's left edge is x0 - 750.
left=$((x0 - 750)) top=$y0
echo "window at $left,$top"

# Press on the toolbar background (window 600, 50), move by (150, 100), release.
xdotool mousemove $((left + 600)) $((top + 50)) sleep 0.3 mousedown 1 sleep 0.3
for _ in $(seq 1 10); do xdotool mousemove_relative -- 15 10; sleep 0.05; done
xdotool sleep 0.3 mouseup 1 sleep 0.5
read -r x1 y1 <<<"$(glyph)"
echo "after the drag: close glyph at $x1,$y1 (was $x0,$y0)"
dx=$((x1 - x0)) dy=$((y1 - y0))
if [ "$dx" -lt 145 ] || [ "$dx" -gt 155 ] || [ "$dy" -lt 95 ] || [ "$dy" -gt 105 ]; then
  echo "the window did not follow the drag (moved by $dx,$dy)"; exit 1
fi

# The skin's minimise glyph is at window (719, 8).
xdotool mousemove $((x1 - 750 + 719)) $((y1 + 8)) sleep 0.3 click 1
sleep 1
after=$(glyph)
[ "$after" = none ] || { echo "the window is still shown after minimise ($after)"; exit 1; }
echo "wayland window test passed"
