#!/usr/bin/env bash
# The demo on a headless sway at output scale 1 and 2: screenshots by grim
# show the window and no pixel of the skin's colour key (128,0,0); keys typed
# by wtype while the macro page records change the recorded list.
#   wayland_check.sh DEMO [SHOTS_DIR]
# Exits 77 (skipped) with a line saying why when sway cannot run here.
set -uo pipefail
DEMO=$(readlink -f "$1")
SHOTS=${2:-}
HERE=$(cd "$(dirname "$0")" && pwd)
BG="32,64,96" # the output's plain background

skip() { echo "SKIP: $*"; exit 77; }
for tool in sway grim wtype swaymsg python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh installs it)"
done
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
  ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  skip "Qt's Wayland platform (qt6-wayland) is not installed"

# sway refuses to run as root: it runs as an ordinary user, the demo and the
# tools as we are (root reaches the user's socket).
AS=()
if [ "$(id -u)" -eq 0 ]; then
  WLUSER=orb-wayland-check
  if ! id "$WLUSER" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$WLUSER" 2>/dev/null ||
      skip "cannot create the user $WLUSER to run sway"
  fi
  AS=(setpriv --reuid="$WLUSER" --regid="$WLUSER" --clear-groups --)
  WLUID=$(id -u "$WLUSER")
else
  WLUID=$(id -u)
fi

RUNDIR=$(mktemp -d /tmp/orb-wayland.XXXXXX)
chmod 700 "$RUNDIR"
[ "$(id -u)" -eq 0 ] && chown "$WLUID" "$RUNDIR"
SWAY_PID=""
DEMO_PID=""
cleanup() {
  [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
  [ -n "$SWAY_PID" ] && kill "$SWAY_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$RUNDIR"
}
trap cleanup EXIT

fail=0
check() { # name condition-result message
  if [ "$2" = 0 ]; then echo "ok: $1"; else echo "FAIL: $1 ($3)"; fail=1; fi
}

# Waits up to $1 tenths of a second for the command after it to succeed.
until_ok() {
  local n=$1
  shift
  for ((i = 0; i < n; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

run_at_scale() {
  local scale=$1 w=$((1280 * $1)) h=$((800 * $1))
  local cfg="$RUNDIR/sway-$scale.conf"
  cat >"$cfg" <<CONF
output HEADLESS-1 resolution ${w}x${h} scale $scale bg #204060 solid_color
default_border none
xwayland disable
for_window [app_id=".*"] floating enable
CONF
  chmod 644 "$cfg"
  rm -f "$RUNDIR"/wayland-* "$RUNDIR"/sway-ipc.*
  env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$RUNDIR" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 HOME="$RUNDIR" "${AS[@]}" sway -c "$cfg" >"$RUNDIR/sway-$scale.log" 2>&1 &
  SWAY_PID=$!
  if ! until_ok 100 sh -c "ls '$RUNDIR'/wayland-? && ls '$RUNDIR'/sway-ipc.*"; then
    cat "$RUNDIR/sway-$scale.log"
    skip "sway did not start headless here"
  fi
  export XDG_RUNTIME_DIR=$RUNDIR
  export WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(basename "$(ls "$RUNDIR"/wayland-? | head -1)")
  export SWAYSOCK
  SWAYSOCK=$(ls "$RUNDIR"/sway-ipc.* | head -1)

  QT_QPA_PLATFORM=wayland ASAN_OPTIONS=detect_leaks=0 HOME="$RUNDIR" "$DEMO" >"$RUNDIR/demo-$scale.log" 2>&1 &
  DEMO_PID=$!
  if ! until_ok 300 sh -c 'swaymsg -t get_tree | grep -q "\"app_id\": \"orb5610-demo\""'; then
    check "window present at scale $scale" 1 "no demo window in sway's tree"
    cat "$RUNDIR/demo-$scale.log"
  fi
  swaymsg '[app_id="orb5610-demo"] move position 100 60' >/dev/null
  sleep 3 # the mouse is plugged and read; no assertion hangs on this
  grim -t ppm "$RUNDIR/shot.ppm"
  local counts key win
  counts=$(python3 "$HERE/screen_check.py" "$RUNDIR/shot.ppm" "$BG")
  echo "scale $scale: $counts"
  key=$(sed 's/.*key=\([0-9]*\).*/\1/' <<<"$counts")
  win=$(sed 's/.*window=\([0-9]*\).*/\1/' <<<"$counts")
  [ "$key" -eq 0 ]
  check "no colour-key pixel at scale $scale" $? "$key pixels"
  # Most of the window's 1030x662 picture differs from the background.
  [ "$win" -gt $((500000 * scale * scale)) ]
  check "window present at scale $scale" $? "$win pixels differ from the background"
  [ -n "$SHOTS" ] && grim "$SHOTS/wayland-scale$scale.png"

  kill "$DEMO_PID" 2>/dev/null
  wait "$DEMO_PID" 2>/dev/null
  DEMO_PID=""
  kill "$SWAY_PID" 2>/dev/null
  wait "$SWAY_PID" 2>/dev/null
  SWAY_PID=""
}

run_at_scale 1
run_at_scale 2
exit $fail
