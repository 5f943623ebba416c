#!/usr/bin/env bash
# Where the demo's resident memory goes, against the bare window: resident
# KiB per mapping (/proc/PID/smaps) three seconds after start, the demo's
# excess first; then the demo's widgets and pictures by page (--census); with
# --heaptrack also the peak heap consumers by call site.
#   bench/memory_breakdown.sh [--heaptrack]
# Uses the Release build in build-release (bench/startup.sh builds it).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build-release/bench"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

snapshot() { # program, file: Rss of a running program at 3 s, by mapping
  "$bin/$1" --hold-ms 6000 >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  awk '/^[0-9a-f]+-[0-9a-f]+ /{name = (NF >= 6 ? $6 : "[anon]")} /^Rss:/{rss[name] += $2}
       END {for (n in rss) print rss[n], n}' "/proc/$pid/smaps" >"$2"
  wait "$pid" || true
}
snapshot bare_window "$out/bare"
snapshot orb_demo_probe "$out/demo"

python3 - "$out/demo" "$out/bare" <<'PY'
import sys
def load(f):
    d = {}
    for line in open(f):
        kib, name = line.rstrip("\n").split(" ", 1)
        d[name] = d.get(name, 0) + int(kib)
    return d
demo, bare = load(sys.argv[1]), load(sys.argv[2])
print(f"resident at 3 s: demo {sum(demo.values())} KiB, bare window {sum(bare.values())} KiB")
rows = sorted(((demo.get(k, 0) - bare.get(k, 0), k) for k in set(demo) | set(bare)), reverse=True)
print("demo minus bare, KiB, by mapping ((only demo) = not mapped by the bare window):")
for kib, name in rows:
    if kib >= 64:
        print(f"  {kib:7d} {'(only demo)' if name not in bare else '           '} {name}")
PY

"$bin/orb_demo_probe" --hold-ms 1000 --census 2>/dev/null | grep -v '^orb5610-demo'

if [ "${1:-}" = "--heaptrack" ]; then
  heaptrack -o "$out/ht" "$bin/orb_demo_probe" --hold-ms 3000 >/dev/null 2>&1
  heaptrack_print -f "$out/ht.zst" --print-peaks 1 --print-allocators 0 --print-temporary 0 \
    --print-leaks 0 --peak-limit 12 --sub-peak-limit 4 2>/dev/null |
    grep -E '^[0-9.]+[KMG]? peak|consumed over|orb::|skinPicture|applicationIcon|drawFrame' | head -120
fi
