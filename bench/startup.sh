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
for kind in bare fonts probe; do one_run $kind >/dev/null; done  # warm the caches
for _ in $(seq "$runs"); do
  for kind in bare fonts probe; do echo "$kind $(one_run $kind)"; done
done | awk '
  $1 == "bare" { b += $2 }
  $1 == "fonts" { f += $2 }
  $1 == "probe" { p += $2; a += $3; n++ }
  END {
    printf "bare window              %.1f ms\n", b / n / 1000
    printf "bare window + 3 fonts    %.1f ms  (ratio %.2f)\n", f / n / 1000, f / b
    printf "Parlenda shown           %.1f ms  (ratio %.2f)\n", p / n / 1000, p / b
    printf "Parlenda sound on        %.1f ms\n", a / n / 1000
  }'
