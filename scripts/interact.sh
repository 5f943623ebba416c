#!/usr/bin/env bash
# Random user-action sequences against the window, for as long as asked:
#   scripts/interact.sh --minutes N [--first-seed S] [--actions A] [--ignore INVARIANT,...] [--plant]
#   scripts/interact.sh --seed N [--actions A]      replays one seed, printing its actions
#   scripts/interact.sh --replay FILE               replays the actions listed in FILE
# Builds test_interact in the sanitizer build (nice, two jobs) and runs it
# with the suite's environment; prints seeds, actions, actions per second and
# every finding with its shortest sequence.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=build-asan
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) export ORB_INTERACT_MINUTES="$2"; shift 2 ;;
    --seed) export ORB_INTERACT_SEED="$2"; shift 2 ;;
    --first-seed) export ORB_INTERACT_FIRST_SEED="$2"; shift 2 ;;
    --actions) export ORB_INTERACT_ACTIONS="$2"; shift 2 ;;
    --ignore) export ORB_INTERACT_IGNORE="$2"; shift 2 ;;
    --replay) ORB_INTERACT_REPLAY="$(realpath "$2")"; export ORB_INTERACT_REPLAY; shift 2 ;;
    --plant) export ORB_INTERACT_PLANT=1; shift ;;
    --only) export ORB_INTERACT_ONLY="$2"; shift 2 ;;
    *) echo "usage: $0 --minutes N | --seed N | --replay FILE [--first-seed S] [--actions A] [--ignore NAMES] [--plant]" >&2; exit 2 ;;
  esac
done
if [ -z "${ORB_INTERACT_MINUTES:-}${ORB_INTERACT_SEED:-}${ORB_INTERACT_REPLAY:-}" ]; then
  echo "$0: give --minutes N, --seed N or --replay FILE" >&2
  exit 2
fi
# A new run starts from a seed of its own unless told.
if [ -n "${ORB_INTERACT_MINUTES:-}" ] && [ -z "${ORB_INTERACT_FIRST_SEED:-}" ]; then
  ORB_INTERACT_FIRST_SEED=$(( $(date +%s) % 1000000 * 1000 ))
  export ORB_INTERACT_FIRST_SEED
fi

[ -f "$BUILD/build.ninja" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON \
  -DORB_WERROR=ON -DORB_BUILD_BENCH=OFF >/dev/null
nice cmake --build "$BUILD" -j2 --target test_interact >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
exec nice "$BUILD/tests/interact/test_interact" --gtest_filter=Interact.Explore
