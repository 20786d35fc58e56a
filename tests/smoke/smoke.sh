#!/usr/bin/env bash
# Starts the built program under a virtual X server, finds its 780 x 555
# window named "Parlenda", closes it with the skin's close button, and checks
# that the settings file was written again and that the audio module beside
# the program was loaded.
set -euo pipefail
program_dir="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work/SETTING/set.dat"

cp "$(dirname "$0")/window.sh" "$work/"
cat > "$work/drive.sh" <<'DRIVE'
#!/usr/bin/env bash
set -euo pipefail
source "$(dirname "$0")/window.sh"
cd "$1"
SDL_AUDIODRIVER=dummy ./parlenda 2>stderr.log &
pid=$!
wait_for_window
[ -n "$win" ] || { echo "no window named Parlenda"; kill $pid; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window $WIDTH x $HEIGHT at $X,$Y"
[ "$WIDTH" = 780 ] && [ "$HEIGHT" = 555 ] || { echo "wrong size"; kill $pid; exit 1; }
# A notice (no sound device here) may stand first: Enter closes it.
sleep 0.5
for _ in 1 2 3; do
  other=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$win$" | head -n 1 || true)
  [ -z "$other" ] && break
  xdotool key --window "$other" Return || true
  sleep 0.3
done
xdotool mousemove --window "$win" 760 8 click 1
for _ in $(seq 1 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then echo "still running after close"; kill $pid; exit 1; fi
wait $pid
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$work"
test -f "$work/SETTING/set.dat" || { echo "set.dat not written"; exit 1; }
head -c 6 "$work/SETTING/set.dat" | grep -q '{\\rtf1' || { echo "set.dat is not RTF"; exit 1; }
if grep -q "no audio" "$work/stderr.log"; then cat "$work/stderr.log"; echo "audio module not loaded"; exit 1; fi
echo "smoke test passed"
