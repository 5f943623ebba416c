#!/usr/bin/env bash
# Random user-action sequences against the window, for as long as asked:
#   scripts/interact.sh --minutes N [--first-seed S] [--actions A] [--workers W] [--ignore INVARIANT,...] [--plant]
#   scripts/interact.sh --seed N [--actions A]      replays one seed, printing its actions
#   scripts/interact.sh --replay FILE               replays the actions listed in FILE
# Long runs (--minutes) use the volume build (build-volume: optimised, with
# assertions, without the sanitizers' cost) and one worker process per core
# unless told (--workers W), each on its own seeds; a running count is
# printed every 30 s. Replays (--seed, --replay) use the sanitizer build
# (build-asan). --asan or --volume chooses the build for either. Every
# build and run is under nice. Prints seeds, actions, actions per second and
# every finding with its shortest sequence.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=
WORKERS=$(nproc)
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) export ORB_INTERACT_MINUTES="$2"; shift 2 ;;
    --seed) export ORB_INTERACT_SEED="$2"; shift 2 ;;
    --first-seed) export ORB_INTERACT_FIRST_SEED="$2"; shift 2 ;;
    --actions) export ORB_INTERACT_ACTIONS="$2"; shift 2 ;;
    --workers) WORKERS="$2"; shift 2 ;;
    --ignore) export ORB_INTERACT_IGNORE="$2"; shift 2 ;;
    --replay) ORB_INTERACT_REPLAY="$(realpath "$2")"; export ORB_INTERACT_REPLAY; shift 2 ;;
    --plant) export ORB_INTERACT_PLANT=1; shift ;;
    --only) export ORB_INTERACT_ONLY="$2"; shift 2 ;;
    --asan) BUILD=build-asan; shift ;;
    --volume) BUILD=build-volume; shift ;;
    *) echo "usage: $0 --minutes N | --seed N | --replay FILE [--first-seed S] [--actions A] [--workers W]" \
            "[--ignore NAMES] [--only NAME] [--plant] [--asan | --volume]" >&2; exit 2 ;;
  esac
done
if [ -z "${ORB_INTERACT_MINUTES:-}${ORB_INTERACT_SEED:-}${ORB_INTERACT_REPLAY:-}" ]; then
  echo "$0: give --minutes N, --seed N or --replay FILE" >&2
  exit 2
fi
long=
[ -n "${ORB_INTERACT_MINUTES:-}" ] && [ -z "${ORB_INTERACT_SEED:-}${ORB_INTERACT_REPLAY:-}" ] && long=1
[ -n "$BUILD" ] || BUILD=$([ -n "$long" ] && echo build-volume || echo build-asan)
# A new run starts from a seed of its own unless told.
if [ -n "$long" ] && [ -z "${ORB_INTERACT_FIRST_SEED:-}" ]; then
  ORB_INTERACT_FIRST_SEED=$(( $(date +%s) % 1000000 * 1000 ))
  export ORB_INTERACT_FIRST_SEED
fi

if [ ! -f "$BUILD/build.ninja" ]; then
  if [ "$BUILD" = build-volume ]; then
    # Optimised with debug lines, assertions kept (no NDEBUG), no sanitizers.
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
      -DORB_WERROR=ON -DORB_BUILD_BENCH=OFF >/dev/null
  else
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON \
      -DORB_WERROR=ON -DORB_BUILD_BENCH=OFF >/dev/null
  fi
fi
nice cmake --build "$BUILD" -j2 --target test_interact >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
binary="$BUILD/tests/interact/test_interact"
if [ -z "$long" ]; then
  exec nice "$binary" --gtest_filter=Interact.Explore
fi

# One process per worker, each with its own log; the counts they print are
# summed here.
logs="$BUILD/interact-logs/$ORB_INTERACT_FIRST_SEED" # one folder a run: runs may overlap
rm -rf "$logs"
mkdir -p "$logs"
export ORB_INTERACT_WORKERS="$WORKERS"
pids=()
for ((w = 0; w < WORKERS; w++)); do
  ORB_INTERACT_WORKER=$w nice "$binary" --gtest_filter=Interact.Explore >"$logs/worker$w.log" 2>"$logs/worker$w.err" &
  pids+=($!)
done
trap 'kill "${pids[@]}" 2>/dev/null || true' INT TERM
count() { # seeds actions findings seconds: the workers' last counts summed (seconds: the longest)
  local s=0 a=0 f=0 t=0 line
  for ((w = 0; w < WORKERS; w++)); do
    line=$(grep '^interact-count ' "$logs/worker$w.log" | tail -1 || true)
    [ -n "$line" ] || continue
    set -- $line
    s=$((s + $2)) a=$((a + $3)) f=$((f + $4))
    t=$(( ${5%.*} > t ? ${5%.*} : t ))
  done
  echo "$s $a $f $t"
}
rate() { echo $(( $2 / ($4 > 0 ? $4 : 1) )); }
last=$(date +%s)
while :; do
  alive=0
  for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
  [ $alive = 1 ] || break
  sleep 1
  [ $(( $(date +%s) - last )) -ge 30 ] || continue
  last=$(date +%s)
  set -- $(count)
  echo "running: $2 actions, $1 seeds, $3 findings, $(rate "$@") actions/s after $4 s"
done
status=0
for ((w = 0; w < WORKERS; w++)); do
  wait "${pids[$w]}" || status=1
  # Findings: gtest's failure blocks, each with its shortest sequence and replay line.
  sed -n '/Failure$/,/^\[  FAILED\|replay:/p' "$logs/worker$w.log"
  grep '^interact: ' "$logs/worker$w.log" | sed "s/^/worker $w: /" || { echo "worker $w: no summary (see $logs/worker$w.err)"; status=1; }
done
set -- $(count)
echo "interact: $1 seeds, $2 actions, $(rate "$@") actions/s, $3 findings, seeds from $ORB_INTERACT_FIRST_SEED" \
  "(worker w: every ${WORKERS}th from it + w), $WORKERS workers, $4 s (build $BUILD)"
exit $status
