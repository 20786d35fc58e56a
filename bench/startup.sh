#!/usr/bin/env bash
# Start-up to the shown window, Parlenda beside a bare Qt window, as whole
# processes: bash bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-40}
probe="$build/bench/startup_probe"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mean_ms() {
  local start end
  "$probe" "$1" >/dev/null 2>&1  # warm the caches
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$probe" "$1" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(( (end - start) / runs / 1000 ))
}
bare=$(mean_ms bare)
parlenda=$(mean_ms parlenda)
awk -v b="$bare" -v p="$parlenda" 'BEGIN {
  printf "bare window  %.1f ms\nParlenda     %.1f ms\nratio        %.2f\n", b/1000, p/1000, p/b }'
