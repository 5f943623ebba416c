#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

BUILD=build-asan
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON -DORB_WERROR=ON -DORB_BUILD_BENCH=OFF
cmake --build "$BUILD" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
# The fuzz entry points replay their committed corpus first, a line each.
replay_log="$BUILD/replay.log"
if ! ctest --test-dir "$BUILD" -R '^replay\.' -V >"$replay_log" 2>&1; then
  cat "$replay_log"
  exit 1
fi
grep -E '^[0-9]+: fuzz_[a-z_]+: [0-9]+ inputs replayed' "$replay_log" | sed 's/^[0-9]*: //'
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
