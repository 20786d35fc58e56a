#!/usr/bin/env bash
# The installed program over a read-only program folder: installs the build
# into a temporary prefix, takes write permission away from it, runs the
# installed launcher under a virtual X server as an ordinary user with HOME in a
# temporary folder, passes the dictation of the first lesson with real key
# presses, closes the window, and then finds the star and the settings in the
# learner's data folder and the installed tree unchanged byte for byte.
set -euo pipefail
build="$1"
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
chmod 755 "$work"
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/lib/parlenda"
learner="$work/home/.local/share/parlenda"

[ "$(readlink -f "$prefix/bin/parlenda")" = "$program/parlenda" ] ||
  { echo "bin/parlenda does not lead to the program folder"; exit 1; }

# The book maker is installed on the PATH beside the launcher and makes a book.
mkdir -p "$work/lessons"
printf 'Hello\nHello there. | 你好。\n' > "$work/lessons/01-hello.txt"
"$prefix/bin/parlenda-make-book" "$work/lessons" "$work/made" --title Made > /dev/null
[ -s "$work/made/book/Made/1.dat" ] && [ -s "$work/made/Sound/Made/1.mp3" ] ||
  { echo "the installed parlenda-make-book made no book"; exit 1; }

# Every path, link and file content of the installed tree.
fingerprint() {
  (cd "$prefix" && find . -printf '%y %p %l\n' | sort &&
    find . -type f -print0 | sort -z | xargs -0 sha256sum)
}
chmod -R a-w "$prefix"
fingerprint > "$work/before"

# The sentences of the first lesson of the installed book, one a line.
python3 "$here/lesson_sentences.py" "$program/book/Book01/1.dat" > "$work/sentences"
[ -s "$work/sentences" ] || { echo "no sentences in the first lesson"; exit 1; }

mkdir -p "$work/home"
# Permissions do not bind root: run as an ordinary user so that the installed
# folder is as read-only for the program as it is for a learner.
as_learner=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/home"
  as_learner=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all --)
fi
# In a sanitizer build the sanitizers' options reach the program too, with a
# copy of the leak suppressions the learner can read.
sanitizers=()
for v in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
  [ -n "${!v:-}" ] && sanitizers+=("$v=${!v}")
done
supp=$(sed -n 's/.*suppressions=\([^:]*\).*/\1/p' <<<"${LSAN_OPTIONS:-}")
if [ -n "$supp" ] && [ -f "$supp" ]; then
  cp "$supp" "$work/home/lsan.supp"
  chmod a+r "$work/home/lsan.supp"
  sanitizers+=("LSAN_OPTIONS=${LSAN_OPTIONS//$supp/$work/home/lsan.supp}")
fi
env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$work/home" SDL_AUDIODRIVER=dummy "${sanitizers[@]}" \
  "${as_learner[@]}" xvfb-run -a -s "-screen 0 1024x768x24" \
  bash "$here/pass_dictation.sh" "$work/sentences" "$work/home" ||
  { cat "$work/home/stderr.log" 2>/dev/null; exit 1; }

fingerprint > "$work/after"
diff -u "$work/before" "$work/after" || { echo "the installed tree changed"; exit 1; }

results="$learner/SETTING/Results/Book01.dat"
settings="$learner/SETTING/set.dat"
for f in "$results" "$settings"; do
  [ -f "$f" ] || { echo "missing in the learner folder: $f"; exit 1; }
done
python3 "$here/rtf_text.py" "$results" > "$work/results.txt"
python3 "$here/rtf_text.py" "$program/SETTING/Results/Book01.dat" > "$work/installed_results.txt"
first=$(python3 - "$work/installed_results.txt" <<'PY'
import sys
print(open(sys.argv[1], encoding="utf-8").read().split("^")[1][1:])
PY
)
grep -qF "★$first^" "$work/results.txt" || { echo "no star for \"$first\""; cat "$work/results.txt"; exit 1; }
grep -qF "☆$first^" "$work/installed_results.txt" || { echo "installed results changed"; exit 1; }
[ "$(grep -o '★' "$work/results.txt" | wc -l)" = 1 ] || { echo "more than one lesson starred"; exit 1; }
# The settings were written at close, after the lesson pass: not just the seeded copy.
[ "$(stat -c %.9Y "$settings")" \> "$(stat -c %.9Y "$results")" ] ||
  { echo "the settings were not written at close"; exit 1; }
python3 "$here/rtf_text.py" "$settings" | grep -q '^0\\.*\\Book01\\60\\' ||
  { echo "unexpected settings:"; python3 "$here/rtf_text.py" "$settings"; exit 1; }
echo "installed program test passed"
