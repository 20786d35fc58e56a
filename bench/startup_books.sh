#!/usr/bin/env bash
# The whole program's start-up, spawn to first paint, over a book of 20
# lessons beside the same over a book of 1,000 (and 200): the runs alternate,
# so a busy moment of the machine falls on each.
#   bash bench/startup_books.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(20 200 1000)
for n in "${sizes[@]}"; do  # Book01 with n titles and results; its first lesson is the bundled one
  cp -r "$build/app" "$work/$n"
  titles="^" results="^"
  for k in $(seq "$n"); do
    titles+="第${k}课 Lesson ${k}^"
    results+="☆第${k}课 Lesson ${k}^"
  done
  printf '%s' "$titles" | iconv -f UTF-8 -t CP936 >"$work/$n/SETTING/BookList/Book01.dat"
  printf '%s' "$results" | iconv -f UTF-8 -t CP936 >"$work/$n/SETTING/Results/Book01.dat"
done
us_now() { local t=$EPOCHREALTIME; echo "${t/./}"; }
one_run() {  # microseconds from the spawn to the first paint over book folder $1
  local start
  start=$(us_now)
  PARLENDA_BENCH_FOLDER="$work/$1" "$build/bench/startup_probe" 2>/dev/null |
    awk -v s="$start" 'NR == 1 { printf "%d", $1 - s }'
}
for n in "${sizes[@]}"; do  # warm the caches; the tree must hold the book
  nodes=$(PARLENDA_BENCH_FOLDER="$work/$n" "$build/bench/startup_probe" 2>/dev/null | tail -1)
  [ "$nodes" = $((n + 1)) ] || { echo "the tree holds $nodes nodes, not the $n lessons' $((n + 1))" >&2; exit 1; }
done
for _ in $(seq "$runs"); do
  for n in "${sizes[@]}"; do echo "$n $(one_run "$n")"; done
done | awk '
  { sum[$1] += $2; count[$1]++ }
  END {
    base = sum[20] / count[20]
    for (n in sum) printf "%5d lessons  %.1f ms  (ratio %.2f)\n", n, sum[n] / count[n] / 1000, sum[n] / count[n] / base
  }' | sort -n
