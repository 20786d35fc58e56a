#!/usr/bin/env bash
# What the idle program costs: thread wake-ups a second and CPU, Parlenda
# beside a bare Qt window (and a paused mpv when installed), in one run under
# a virtual X server: bash bench/idle.sh [build-dir] [seconds]
# Parlenda runs twice: without a sound device (the engine runs on its clock)
# and on SDL's dummy driver (a device that opens, as a sound server does).
# Each process is measured after it has settled (start-up sentence played and
# the output gone quiet), over the same number of seconds.
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/app"/. "$work/program"/

cat > "$work/measure.sh" <<'MEASURE'
#!/usr/bin/env bash
# measure.sh seconds name command...: starts the command, lets it settle,
# prints "name wakeups/s cpu% and each thread that woke, with its rate".
set -euo pipefail
seconds=$1 name=$2
shift 2
"$@" >/dev/null 2>&1 &
pid=$!
sleep 8
switches() {  # per thread: "tid name count"
  for t in /proc/$pid/task/*; do
    echo "$(basename "$t") $(tr ' ' _ <"$t/comm") $(awk '/ctxt_switches/ { s += $2 } END { print s }' "$t/status")"
  done 2>/dev/null | sort
}
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
switches >"$name.a"
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
switches >"$name.b"
kill -9 $pid
wait $pid 2>/dev/null || true
join "$name.a" "$name.b" | awk -v s="$seconds" -v n="$name" -v cpu="$(( t1 - t0 ))" -v hz="$(getconf CLK_TCK)" '
  { d = ($5 - $3) / s; total += d; if (d > 0) woke = woke sprintf(" %s %.1f", $2, d) }
  END { printf "%-28s %7.1f wake-ups/s  %5.2f %% of a core  threads awake:%s\n",
               n, total, 100 * cpu / hz / s, (woke == "" ? " none" : woke) }'
MEASURE
chmod +x "$work/measure.sh"

cat > "$work/all.sh" <<ALL
#!/usr/bin/env bash
set -euo pipefail
cd "$work"
./measure.sh $seconds "bare Qt window" "$build/bench/idle_bare"
(cd program && SDL_AUDIODRIVER=no-such-driver ../measure.sh $seconds "Parlenda, no sound device" ./parlenda)
(cd program && SDL_AUDIODRIVER=dummy ../measure.sh $seconds "Parlenda, SDL dummy device" ./parlenda)
if command -v mpv >/dev/null; then
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=60" -ac 1 lesson.mp3
  SDL_AUDIODRIVER=dummy ./measure.sh $seconds "mpv, paused" mpv --pause --no-video --ao=sdl lesson.mp3
fi
ALL
chmod +x "$work/all.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/all.sh"
