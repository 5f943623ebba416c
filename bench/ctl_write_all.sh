#!/usr/bin/env bash
# Whole-command time of `orb5610ctl write --all` with four simulated mice
# against one, in alternating runs, with the ratio. The simulated mice run on
# real time (the protocol's pauses are real sleeps), so the figures are those
# of the transfers themselves: four mice side by side should take about as
# long as one.
#   bench/ctl_write_all.sh [RUNS]   (default 5)
# Builds Release in build-release.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
build="$root/build-release"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_BUILD_TESTS=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target orb5610ctl >/dev/null
ctl="$build/src/ctl/orb5610ctl"

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$ctl" --demo read "$out/profile.bin" >/dev/null # the demo mouse's own image as the profile

timed() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -1; }
"$ctl" --demo=4 write --all "$out/profile.bin" >/dev/null # warm the file cache
for ((i = 0; i < runs; ++i)); do
  timed "$ctl" --demo=1 write "$out/profile.bin" >>"$out/one"
  timed "$ctl" --demo=4 write --all "$out/profile.bin" >>"$out/four"
done

python3 - "$out" <<'PY'
import statistics, sys, os
d = sys.argv[1]
def col(name, i):
    return [float(l.split()[i]) for l in open(os.path.join(d, name)) if l.strip()]
one, four = col("one", 0), col("four", 0)
m1, m4 = statistics.median(one), statistics.median(four)
print(f"medians of {len(one)} runs")
print(f"write, 1 mouse         {m1:6.2f} s  ({min(one):.2f}..{max(one):.2f})  max RSS {statistics.median(col('one', 1)):.0f} KiB")
print(f"write --all, 4 mice    {m4:6.2f} s  ({min(four):.2f}..{max(four):.2f})  max RSS {statistics.median(col('four', 1)):.0f} KiB")
print(f"ratio 4 mice / 1 mouse {m4 / m1:6.2f}   (per mouse {m4 / 4 / m1:.2f})")
PY
