#!/usr/bin/env bash
# SIGTERM and SIGINT close the built program's window as its close button
# does: the program ends, and shut-down has written the settings file. Each
# signal with a sound device (SDL's dummy driver) and without one (then the
# program's "no sound" notice, a modal box, is open when the signal comes).
set -euo pipefail
program_dir="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$(dirname "$0")/window.sh" "$work/"
cat > "$work/one.sh" <<'ONE'
#!/usr/bin/env bash
# one.sh folder signal driver: starts the program, waits for its window and
# its audio engine, sends the signal, and waits for the end.
set -euo pipefail
source "$(dirname "$0")/window.sh"
cd "$1"
rm -f SETTING/set.dat
if [ "$3" = none ]; then export SDL_AUDIODRIVER=no-such-driver; else export SDL_AUDIODRIVER=$3; fi
./parlenda 2>stderr.log &
pid=$!
wait_for_window
if [ -z "$win" ]; then
  kill -0 $pid 2>/dev/null && echo "no window named Parlenda (the program runs)" ||
    echo "no window named Parlenda (the program ended)"
  cat stderr.log
  kill -9 $pid 2>/dev/null
  exit 1
fi
# The engine loads after the first paint; its SDL would have taken the signals.
# Wait for it: the audio module mapped into the program and, without a sound
# device, the notice that says so shown (a second window of the program).
engine_ready() {
  grep -q libparlenda_audio "/proc/$pid/maps" 2>/dev/null || return 1
  [ "$3" != none ] || [ "$(xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l)" -ge 2 ]
}
for _ in $(seq 1 300); do engine_ready "$@" && break; sleep 0.1; done
engine_ready "$@" || { echo "SIG$2 ($3): the audio engine did not arrive"; kill -9 $pid; exit 1; }
kill -s "$2" $pid
for _ in $(seq 1 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then echo "SIG$2 ($3): still running"; kill -9 $pid; exit 1; fi
status=0
wait $pid || status=$?
[ "$status" = 0 ] || { echo "SIG$2 ($3): exit status $status"; exit 1; }
test -f SETTING/set.dat || { echo "SIG$2 ($3): set.dat not written"; exit 1; }
head -c 6 SETTING/set.dat | grep -q '{\\rtf1' || { echo "SIG$2 ($3): set.dat is not RTF"; exit 1; }
echo "SIG$2 ($3): closed, settings written"
ONE
chmod +x "$work/one.sh"
for sig in TERM INT; do
  for driver in dummy none; do
    rm -rf "$work/program"
    cp -r "$program_dir"/. "$work/program"/
    xvfb-run -a -s "-screen 0 1024x768x24" "$work/one.sh" "$work/program" $sig $driver
  done
done
echo "signal test passed"
