#!/usr/bin/env bash
# Start-up of the installed program beside the same program run from its
# build folder, as whole processes under a virtual X server: milliseconds
# from the spawn to the window mapped, runs alternating.
#   bash bench/installed_startup.sh [build-dir] [runs]
# The installed tree is read-only and HOME is a fresh folder, so the first
# start copies the learner's files (seeding) and later starts find them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --measure ]; then
  work="$2" runs="$3"
  export SDL_AUDIODRIVER=dummy HOME="$work/home"
  mapped() { python3 "$here/window_mapped.py" "$1"; }
  first=$(mapped "$work/prefix/bin/parlenda")
  [ -f "$HOME/.local/share/parlenda/SETTING/set.dat" ] || { echo "the learner folder was not used"; exit 1; }
  mapped "$work/build-folder/parlenda" >/dev/null  # warm the caches
  for _ in $(seq "$runs"); do
    echo "build $(mapped "$work/build-folder/parlenda")"
    echo "installed $(mapped "$work/prefix/bin/parlenda")"
  done | awk -v first="$first" '
    { sum[$1] += $2; n[$1]++ }
    END {
      printf "installed, first start (seeding)   %.1f ms\n", first
      printf "installed, later starts            %.1f ms\n", sum["installed"] / n["installed"]
      printf "build folder                       %.1f ms\n", sum["build"] / n["build"]
    }'
  exit 0
fi
build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
chmod -R a-w "$work/prefix"
cp -r "$build/app" "$work/build-folder"
mkdir -p "$work/home"
# Root writes anywhere: measure as an ordinary user, as a learner runs it.
as_learner=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$work/home" "$work/build-folder"
  as_learner=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
"${as_learner[@]}" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --measure "$work" "$runs"
