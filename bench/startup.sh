#!/usr/bin/env bash
# Start-up time and memory of the demo program against a bare Qt window of
# the same size (1030 x 662), in the same run, with the ratio; and the floor
# window (bench/floor_window.cpp: the bare window with only the start's
# pictures and texts) beside them, for what the skin and font alone cost.
#   bench/startup.sh [RUNS]   (default 5)
# Offscreen by default; under an X server (QT_QPA_PLATFORM=xcb) with
#   xvfb-run -a -s "-screen 0 1920x1080x24" env QT_QPA_PLATFORM=xcb bench/startup.sh
# Builds Release in build-release. Figures per run come from the probes
# (bench/StartupProbe.h): first_shown_ms from process start to the first
# paint of the window, rss_kib three seconds after start, peak_kib the
# high-water mark by then. The plain orb5610-demo is also measured from
# outside with /usr/bin/time -v (maximum resident set over 3 s).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
build="$root/build-release"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_BUILD_TESTS=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target orb5610-demo orb_demo_probe bare_window floor_window >/dev/null

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
out="$(mktemp -d)"
# A private runtime folder: a copy of the program running elsewhere would
# otherwise answer the start as its single instance.
export XDG_RUNTIME_DIR="$out/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$out"' EXIT

# Alternating runs, so a drift of the machine's speed hits both alike.
"$build/bench/bare_window" --hold-ms 0 >/dev/null 2>&1 # warm the file cache
"$build/bench/orb_demo_probe" --hold-ms 0 >/dev/null 2>&1
# The launch time is handed over so start and first paint share one clock.
launch() { ORB_BENCH_LAUNCH_NS="$(date +%s%N)" "$@" 2>/dev/null; }
for ((i = 0; i < runs; ++i)); do
  launch "$build/bench/bare_window" --hold-ms 0 >>"$out/bare_shown"
  launch "$build/bench/orb_demo_probe" --hold-ms 0 >>"$out/demo_shown"
  launch "$build/bench/bare_window" --hold-ms 3000 >>"$out/bare_3s"
  launch "$build/bench/orb_demo_probe" --hold-ms 3000 >>"$out/demo_3s"
  launch "$build/bench/floor_window" --hold-ms 3000 >>"$out/floor_3s"
done
for ((i = 0; i < runs; ++i)); do
  /usr/bin/time -v timeout -s TERM 3 "$build/src/app/orb5610-demo" 2>&1 >/dev/null |
    sed -n 's/.*Maximum resident set size (kbytes): //p' >>"$out/demo_time_v" || true # ended by timeout
done

python3 - "$out" <<'PY'
import statistics, sys, os
d = sys.argv[1]
def field(name, key):
    vals = []
    for line in open(os.path.join(d, name)):
        for kv in line.split()[1:]:
            k, v = kv.split("=")
            if k == key:
                vals.append(float(v))
    return vals
def row(label, a, b, unit):
    ma, mb = statistics.median(a), statistics.median(b)
    print(f"{label:28s} demo {ma:9.0f} {unit}  bare {mb:9.0f} {unit}  ratio {ma / mb:5.2f}"
          f"   (demo {min(a):.0f}..{max(a):.0f}, bare {min(b):.0f}..{max(b):.0f})")
print(f"medians of {len(field('demo_shown', 'first_shown_ms'))} runs")
row("start to first shown", field("demo_shown", "first_shown_ms"), field("bare_shown", "first_shown_ms"), "ms ")
row("RSS 3 s after start", field("demo_3s", "rss_kib"), field("bare_3s", "rss_kib"), "KiB")
row("peak RSS by 3 s", field("demo_3s", "peak_kib"), field("bare_3s", "peak_kib"), "KiB")
floor = field("floor_3s", "rss_kib")
print(f"{'floor window RSS at 3 s':28s} {statistics.median(floor):.0f} KiB: bare x{statistics.median(floor) / statistics.median(field('bare_3s', 'rss_kib')):.2f},"
      f" demo / floor x{statistics.median(field('demo_3s', 'rss_kib')) / statistics.median(floor):.2f}")
tv = [float(x) for x in open(os.path.join(d, "demo_time_v")) if x.strip()]
if tv:
    print(f"{'orb5610-demo, time -v, 3 s':28s} max RSS {statistics.median(tv):.0f} KiB ({min(tv):.0f}..{max(tv):.0f})")
PY
