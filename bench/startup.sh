#!/usr/bin/env bash
# Start-up to the shown window, Parlenda beside a bare Qt window, as whole
# processes: bash bench/startup.sh [build-dir] [runs]
# Each run is timed from just before the spawn to the first paint (the probes
# print the clock then), so the process's exit is not counted; Parlenda's
# probe prints the clock again when its audio engine is ready. The two kinds
# of run alternate, so a busy moment of the machine falls on both.
set -euo pipefail
build=${1:-build}
runs=${2:-40}
bench="$build/bench"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# A device that opens at once, as a desktop sound server does once running.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
us_now() { local t=$EPOCHREALTIME; echo "${t/./}"; }
one_run() {  # prints "shown [audio ready]" of startup_$1, microseconds after the spawn
  local start
  start=$(us_now)
  "$bench/startup_$1" 2>/dev/null | awk -v s="$start" '{ printf "%d ", $1 - s }'
}
one_run bare >/dev/null; one_run probe >/dev/null  # warm the caches
for _ in $(seq "$runs"); do
  echo "bare $(one_run bare)"
  echo "probe $(one_run probe)"
done | awk '
  $1 == "bare" { b += $2 }
  $1 == "probe" { p += $2; a += $3; n++ }
  END {
    printf "bare window         %.1f ms\n", b / n / 1000
    printf "Parlenda shown      %.1f ms\n", p / n / 1000
    printf "ratio               %.2f\n", p / b
    printf "Parlenda sound on   %.1f ms\n", a / n / 1000
  }'
