#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs each for a bounded time on a copy of its committed
# seed corpus. Not part of the test command.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, every target)
#   scripts/fuzz.sh --runs=N [TARGET...]                (N executions per target)
# Findings (crash-*, timeout-*, oom-* files) land in build-fuzz/findings/<target>/;
# each one found should become a regular test under tests/.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# The first argument is the time only when it is one: "fuzz.sh TARGET" runs
# TARGET for the default time (libFuzzer would read a name as 0, no end).
seconds=60
runs=()
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
elif [[ "${1:-}" == --runs=* ]]; then
  runs=(-runs="${1#--runs=}")
  seconds=0 # no time limit
  shift
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_profile fuzz_language_pack fuzz_layout_text fuzz_report_descriptor fuzz_transport
           fuzz_macro_record fuzz_macro_files)
fi

# The build's packages, clang and its fuzzer runtime, when missing.
"$root/scripts/deps.sh" clang libclang-rt-14-dev

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORB_BUILD_FUZZ=ON -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build" -j2 --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Fast mutation runs: allocations are where Qt-heavy targets spend their time
# under the sanitizer (fill, quarantine turnover, stack depot), so those are
# kept small; leaks are looked for in one pass over the grown corpus after
# each run (and in the test command's replay of the committed one).
fast_asan="detect_leaks=0:quarantine_size_mb=16:max_malloc_fill_size=0:malloc_context_size=10"
export ASAN_OPTIONS=detect_leaks=1
# fuzz_profile writes each input to a scratch file; memory-backed is faster.
[ -d /dev/shm ] && export TMPDIR="${TMPDIR:-/dev/shm}"
status=0
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$work" "$findings"
  # The committed seeds stay as they are; new inputs go to the working copy.
  cp -n "$root/fuzz/corpus/$t/"* "$work/" 2>/dev/null || true
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  # Longest useful input: nothing past these lengths is read by the target.
  case "$t" in
    fuzz_profile) max_len=2100 ;;       # a profile file and a little more
    fuzz_macro_record) max_len=1800 ;;  # the macro area (1792 bytes)
    fuzz_macro_files) max_len=2100 ;;   # a base-macro file, a few library entries
    fuzz_report_descriptor) max_len=1024 ;;
    *) max_len=4096 ;;                  # texts and the mouse's answers
  esac
  echo "== $t: ${runs[*]:-${seconds}s}"
  if ! ASAN_OPTIONS="$fast_asan" "$build/fuzz/$t" "$work" "${dict[@]}" "${runs[@]}" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 \
      -artifact_prefix="$findings/" 2>"$build/$t.log"; then
    status=1
    echo "   FOUND: $(ls "$findings")"
  fi
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb' "$build/$t.log" ||
    tail -3 "$build/$t.log"
  # Leaks: every input of the grown corpus once, with the leak checker on.
  if ! "$build/fuzz/$t" "$work" -runs=0 -rss_limit_mb=2048 -artifact_prefix="$findings/" \
      2>"$build/$t.leaks.log"; then
    status=1
    echo "   LEAK OR FAILURE in the corpus pass: $(ls "$findings")"
  fi
done
exit $status
