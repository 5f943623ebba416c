#!/usr/bin/env bash
# Apply of one setting against everything changed, through the real tool on
# the simulated mouse (`--demo`, the transport's own pauses slept for real).
# Each `set --mouse` / `write` run is the tool's start, a whole read, the
# write with its verification, and the tool's whole read-back; the write's
# own share is the run less the "nothing" run (which has all of that but the
# write). Prints, per case, the median seconds of the run (of RUNS), and the
# tool's own account of the chunks it wrote and read back.
#   bench/apply_diff.sh [RUNS] [CTL] [BEFORE_CTL]
# CTL: the tool to measure (default build-asan's); BEFORE_CTL: another build
# (say today's main) measured the same way for a before/after table.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-3}"
after="${2:-$root/build-asan/src/ctl/orb5610ctl}"
before="${3:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
seconds() { # the wall time of one run of the tool, its output kept
  local start end
  start=$(date +%s.%N)
  "$@" >"$work/out" 2>&1 || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

measure() { # TOOL LABEL
  local tool="$1" label="$2" read_s
  read_s=$(for _ in $(seq "$runs"); do seconds "$tool" --demo read "$work/base.bin"; done | median)
  "$tool" --demo read "$work/base.bin" >/dev/null
  printf '%s: whole read %.2f s\n' "$label" "$read_s"
  run_case "$tool" "$read_s" "one CPI level" set --mouse cpi.levels.3.cpi=3200
  run_case "$tool" "$read_s" "one key" set --mouse "keys.A.2=Left Key"
  run_case "$tool" "$read_s" "one macro line" set --mouse 'macros.1.lines=["0 120"]'
  run_case "$tool" "$read_s" "light mode" set --mouse light.mode=3
  run_case "$tool" "$read_s" "nothing" write "$work/base.bin"
  # Every chunk sent, as every Apply did before.
  run_case "$tool" "$read_s" "everything (--full)" write "$work/base.bin" --full
}

run_case() { # TOOL READ_S NAME ARGS...
  local tool="$1" read_s="$2" name="$3" total
  shift 3
  # A tool without --full writes the whole image anyway.
  if ! "$tool" --help | grep -q -- '--full'; then
    local -a kept=()
    for a in "$@"; do [ "$a" = "--full" ] || kept+=("$a"); done
    set -- "${kept[@]}"
  fi
  total=$(for _ in $(seq "$runs"); do seconds "$tool" --demo "$@"; done | median)
  printf '  %-20s run %5.2f s  %s\n' "$name" "$total" \
    "$(sed -n 's/.*: ok: //p' "$work/out" | head -1)"
}

measure "$after" "after"
if [ -n "$before" ]; then
  measure "$before" "before"
fi
