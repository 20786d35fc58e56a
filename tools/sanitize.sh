#!/usr/bin/env bash
# The tests under AddressSanitizer (LeakSanitizer included) and
# UndefinedBehaviorSanitizer, built with Clang in a build folder of their own
# (build-asan) and run through ctest. Any report fails the run: UBSan stops at
# the first one (-fno-sanitize-recover=all), ASan stops at its first, LSan
# fails the program at exit.
#
# Checks beyond -fsanitize=undefined, which GCC's does not have or leaves out:
#   float-cast-overflow   a double too large for the integer it is cast to
#   float-divide-by-zero  x / 0.0 (an infinity or NaN the code never expects)
#   local-bounds          indexing past a local array the compiler can size
#   nullability           arguments and results marked _Nonnull (system headers)
# The fuzz targets are built with libFuzzer and the whole program with the
# coverage they need (fuzzer-no-link), so this build also serves docs/checks.md.
#
# Usage: bash tools/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

checks=address,undefined,float-cast-overflow,float-divide-by-zero,local-bounds,nullability
flags="-fsanitize=$checks,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -G Ninja "${launcher[@]}" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$checks" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=$checks" \
  -DPARLENDA_BENCH=OFF -DPARLENDA_LIBFUZZER=ON
cmake --build build-asan -j2

# The suppression file names what belongs to libraries the program does not
# own; each entry says why. Nothing of Parlenda's own code is suppressed.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:handle_abort=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitize_leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure "$@"
