#!/usr/bin/env bash
# Whole `orb5610ctl read` through an emulated hidraw node (hidapi, libudev,
# the kernel's FUSE ioctl path) against the same read on the simulated host
# (`--demo`), alternating, with the ratio of the medians. The goal is a ratio
# of at most 1.10: the real hidapi path adds little to the protocol's own
# pauses. Needs root (a private mount namespace and FUSE), as the tests do.
#   bench/hidraw_read.sh [RUNS] [BUILD_DIR]   (default 5, build-asan)
# Builds test_hidraw and orb5610ctl in BUILD_DIR (the test build, since the
# emulator lives with the tests); both sides run with the same instrumentation.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
build="${2:-$root/build-asan}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON -DORB_BUILD_BENCH=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target test_hidraw orb5610ctl >/dev/null
shim="$(find "$build/tests/hidraw" -name 'liborb_sysfs_fstatfs.so' | head -1)"

out="$(ORB_BENCH_RUNS="$runs" ASAN_OPTIONS=detect_leaks=0 \
  "$root/tests/hidraw/in_private_namespace.sh" "$shim" "$build/tests/hidraw/test_hidraw" \
  --gtest_also_run_disabled_tests --gtest_filter=HidrawCtl.DISABLED_ReadTimes)" || {
  rc=$?
  echo "$out"
  exit "$rc"
}
line="$(grep '^read through the emulated node' <<<"$out")"
echo "$line"
ratio="${line##* }"
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.10) }' && echo "within 1.10" || {
  echo "above 1.10"
  exit 1
}
