#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs each for a bounded time on a copy of its committed
# seed corpus. Not part of the test command.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, every target)
# Findings (crash-*, timeout-*, oom-* files) land in build-fuzz/findings/<target>/;
# each one found should become a regular test under tests/.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_profile fuzz_language_pack fuzz_layout_text fuzz_report_descriptor fuzz_transport
           fuzz_macro_record fuzz_macro_files)
fi

# clang and its fuzzer runtime, when missing.
need=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if ((${#need[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${need[@]}"
fi

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORB_BUILD_FUZZ=ON -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build" -j2 --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
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
  echo "== $t: ${seconds}s"
  if ! "$build/fuzz/$t" "$work" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=16384 -print_final_stats=1 -artifact_prefix="$findings/" 2>"$build/$t.log"; then
    status=1
    echo "   FOUND: $(ls "$findings")"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+ *DONE' "$build/$t.log" || tail -3 "$build/$t.log"
done
exit $status
