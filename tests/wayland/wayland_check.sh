#!/usr/bin/env bash
# The demo on a headless sway at output scale 1, 1.5 and 2, driven through
# the compositor's input: a virtual pointer clicks, wtype types.
#  - grim screenshots show the window and no pixel of the skin's colour key
#    (128,0,0), in language 1 and, after a click on its button, language 3;
#  - keys typed while the macro page records become lines of the macro, and
#    the clicks that start and stop the recording do not;
#  - the macro-name dialog opened by a click takes the typed name.
#   wayland_check.sh DEMO POINTER [SHOTS_DIR]
# DEMO answers questions on its standard input (tests/wayland/probe);
# POINTER is the virtual-pointer client. With SHOTS_DIR the screenshots are
# kept there as PNG. Exits 77 (skipped) with a line saying why when sway
# cannot run here.
set -uo pipefail
DEMO=$(readlink -f "$1")
POINTER=${2:-}
SHOTS=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)
APP_ID=$(basename "$DEMO")
# A demo run from the build tree keeps its macro library beside itself; each
# run starts from the built-in one.
LIBRARY="$(dirname "$DEMO")/ORB5610-Macro.bin"
BG="32,64,96" # the output's plain background
# The output in logical pixels, at every scale.
LW=1280
LH=800
# Where the window is put, in logical pixels.
WX=100
WY=60

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in sway grim wtype swaymsg python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/deps.sh installs it)"
done
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
  ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  skip "Qt's Wayland platform (qt6-wayland) is not installed"
if [ -z "$POINTER" ] || [ ! -x "$POINTER" ]; then
  skip "the virtual pointer was not built (libwayland-dev was missing when the build was configured)"
fi

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
POINTER_PID=""
KEYBOARD_PID=""
stop_runs() {
  local pid
  for pid in "$DEMO_PID" "$POINTER_PID" "$KEYBOARD_PID" "$SWAY_PID"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  DEMO_PID=""
  POINTER_PID=""
  KEYBOARD_PID=""
  SWAY_PID=""
}
cleanup() {
  stop_runs
  rm -f "$LIBRARY"
  rm -rf "$RUNDIR"
}
trap cleanup EXIT

fail=0
check() { # name condition-result message; returns the result
  if [ "$2" = 0 ]; then
    echo "ok: $1"
    return 0
  fi
  echo "FAIL: $1 ($3)"
  fail=1
  return 1
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

# --- Talking to the demo and the pointer (each through a pair of fifos) ---
DEMO_IN=""
DEMO_OUT=""
POINTER_IN=""
POINTER_OUT=""
close_channels() {
  [ -n "$DEMO_IN" ] && exec {DEMO_IN}>&- {DEMO_OUT}<&-
  [ -n "$POINTER_IN" ] && exec {POINTER_IN}>&- {POINTER_OUT}<&-
  DEMO_IN=""
  DEMO_OUT=""
  POINTER_IN=""
  POINTER_OUT=""
}
# ask QUESTION: the demo's one-line answer in ANSWER ("" when none came).
ask() {
  ANSWER=""
  echo "$1" >&"$DEMO_IN"
  read -r -t 20 -u "$DEMO_OUT" ANSWER
}
# ask_list QUESTION: the lines of a many-line answer, in LIST.
ask_list() {
  LIST=()
  echo "$1" >&"$DEMO_IN"
  local line
  while read -r -t 20 -u "$DEMO_OUT" line && [ "$line" != end ]; do
    LIST+=("$line")
  done
}
# until_answer TENTHS QUESTION EXPECTED: asks again until the answer is EXPECTED.
until_answer() {
  local n=$1
  for ((i = 0; i < n; i++)); do
    ask "$2"
    [ "$ANSWER" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}
# until_shown NAME: waits for the control NAME to be shown.
until_shown() {
  for ((i = 0; i < 50; i++)); do
    ask "where $1"
    [[ "$ANSWER" == at\ * ]] && return 0
    sleep 0.1
  done
  return 1
}
pointer() {
  local reply=""
  echo "$1" >&"$POINTER_IN"
  read -r -t 10 -u "$POINTER_OUT" reply && [ "$reply" = ok ]
}
# click_at X Y: a left click at that point of the window (logical pixels).
click_at() {
  pointer "move $((WX + $1)) $((WY + $2))" && pointer press && pointer release
}
# click WHERE-QUESTION: a click in the middle of what the demo names, once it
# is shown.
click() {
  local i
  for ((i = 0; i < 50; i++)); do
    ask "$1"
    case "$ANSWER" in
    at\ *)
      read -r _ _ x y <<<"$ANSWER"
      click_at "$x" "$y"
      return
      ;;
    esac
    sleep 0.1
  done
  echo "no answer to '$1': $ANSWER"
  return 1
}

# The window's top-left corner in the layout, as sway has it.
window_corner() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("app_id") == sys.argv[1]:
        print(n["rect"]["x"], n["rect"]["y"])
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))' "$APP_ID"
}

# shot NAME SCALE: a screenshot once the window is on it; checks it for the
# colour key and for the window.
shot() {
  local name=$1 scale=$2 counts="" key win least
  least=$(python3 -c "print(int(500000 * $scale * $scale))")
  # Most of the window's 1030x662 picture differs from the background; the
  # first frames after a change may not be on the screen yet.
  for ((i = 0; i < 50; i++)); do
    grim -t ppm "$RUNDIR/shot.ppm"
    counts=$(python3 "$HERE/screen_check.py" "$RUNDIR/shot.ppm" "$BG")
    win=$(sed 's/.*window=\([0-9]*\).*/\1/' <<<"$counts")
    [ "$win" -gt "$least" ] && break
    sleep 0.1
  done
  echo "scale $scale, $name: $counts"
  key=$(sed 's/.*key=\([0-9]*\).*/\1/' <<<"$counts")
  [ "$key" -eq 0 ]
  check "no colour-key pixel at scale $scale, $name" $? "$key pixels"
  [ "$win" -gt "$least" ]
  check "window present at scale $scale, $name" $? "$win pixels differ from the background"
  [ -n "$SHOTS" ] && grim "$SHOTS/wayland-scale$scale-$name.png"
  return 0
}

# The key lines of the open macro (pauses left out), joined by "|".
key_lines() {
  ask_list lines
  local out="" l
  for l in "${LIST[@]}"; do
    case "$l" in
    "line 1 "* | "line 2 "*) out+="${l#line }|" ;;
    esac
  done
  echo "${out%|}"
}

run_at_scale() {
  local scale=$1 w h
  w=$(python3 -c "print(round($LW * $scale))")
  h=$(python3 -c "print(round($LH * $scale))")
  local cfg="$RUNDIR/sway-$scale.conf"
  cat >"$cfg" <<CONF
output HEADLESS-1 resolution ${w}x${h} scale $scale bg #204060 solid_color
default_border none
xwayland disable
for_window [app_id=".*"] floating enable
CONF
  chmod 644 "$cfg"
  rm -f "$RUNDIR"/wayland-* "$RUNDIR"/sway-ipc.* "$RUNDIR"/*.fifo "$LIBRARY"
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

  # The headless seat has no pointer and no keyboard until clients make
  # them. A keyboard made only for the time of each wtype comes and goes
  # with it, and the demo may bind it too late for the first keys: one wtype
  # that only waits keeps a keyboard on the seat the whole time.
  wtype -s 3600000 &
  KEYBOARD_PID=$!
  mkfifo "$RUNDIR/pin.fifo" "$RUNDIR/pout.fifo" "$RUNDIR/din.fifo" "$RUNDIR/dout.fifo"
  exec {POINTER_IN}<>"$RUNDIR/pin.fifo" {POINTER_OUT}<>"$RUNDIR/pout.fifo"
  "$POINTER" "$LW" "$LH" <"$RUNDIR/pin.fifo" >"$RUNDIR/pout.fifo" 2>"$RUNDIR/pointer-$scale.log" &
  POINTER_PID=$!
  local reply=""
  read -r -t 20 -u "$POINTER_OUT" reply
  check "virtual pointer at scale $scale" "$([ "$reply" = ready ]; echo $?)" "$(cat "$RUNDIR/pointer-$scale.log")" ||
    return
  # Both on the seat (capabilities: pointer 1, keyboard 2).
  until_ok 100 sh -c 'swaymsg -t get_seats | grep -q "\"capabilities\": 3"'
  check "pointer and keyboard on the seat at scale $scale" $? "$(swaymsg -t get_seats)" || return

  exec {DEMO_IN}<>"$RUNDIR/din.fifo" {DEMO_OUT}<>"$RUNDIR/dout.fifo"
  QT_QPA_PLATFORM=wayland ASAN_OPTIONS=detect_leaks=0 HOME="$RUNDIR" "$DEMO" \
    <"$RUNDIR/din.fifo" >"$RUNDIR/dout.fifo" 2>"$RUNDIR/demo-$scale.log" &
  DEMO_PID=$!
  if ! until_ok 300 sh -c "swaymsg -t get_tree | grep -q '\"app_id\": \"$APP_ID\"'"; then
    check "window present at scale $scale" 1 "no demo window in sway's tree"
    cat "$RUNDIR/demo-$scale.log"
    return
  fi
  swaymsg "[app_id=\"$APP_ID\"] move position $WX $WY" >/dev/null
  local corner=""
  for ((i = 0; i < 50; i++)); do
    corner=$(window_corner)
    [ "$corner" = "$WX $WY" ] && break
    sleep 0.1
  done
  check "window placed at $WX,$WY at scale $scale" "$([ "$corner" = "$WX $WY" ]; echo $?)" "at $corner" ||
    return
  # The mouse is plugged in a second after start and then read.
  reply=""
  read -r -t 60 -u "$DEMO_OUT" reply
  if ! check "mouse read at scale $scale" "$([ "$reply" = ready ]; echo $?)" "the demo said '$reply'"; then
    cat "$RUNDIR/demo-$scale.log"
    return
  fi
  ask ratio
  echo "scale $scale: the window is painted at device pixel $ANSWER"
  shot lang1 "$scale"

  # A recording started and stopped by clicks; keys typed between.
  click "where Btn_Macro_1" && click "row LB_PCMacroName 0" && click "where Btn_Start"
  until_answer 50 recording "recording 1"
  check "recording started by a click at scale $scale" $? "$ANSWER"
  wtype ab
  local want="1 A CODE:8204|2 A CODE:0204|1 B CODE:8205|2 B CODE:0205" got=""
  for ((i = 0; i < 50; i++)); do
    got=$(key_lines)
    [ "$got" = "$want" ] && break
    sleep 0.1
  done
  click "where Btn_Start"
  until_answer 50 recording "recording 0"
  check "recording stopped by a click at scale $scale" $? "$ANSWER"
  got=$(key_lines)
  [ "$got" = "$want" ]
  check "typed keys recorded as lines at scale $scale" $? "lines: $got"
  shot macro "$scale"

  # A new macro: the name dialog over the window takes the typed name.
  click "where Btn_New"
  local dialog=""
  for ((i = 0; i < 50; i++)); do
    ask_list dialogs
    [[ "${LIST[*]}" == "dialog TForm3 "* ]] && [ ${#LIST[@]} = 1 ] && dialog=1 && break
    sleep 0.1
  done
  check "name dialog opened by a click at scale $scale" "$([ -n "$dialog" ]; echo $?)" "${LIST[*]}"
  shot dialog "$scale"
  wtype "wl$scale"
  wtype -k Return
  local named=1
  for ((i = 0; i < 50 && named; i++)); do
    ask_list names
    for l in "${LIST[@]}"; do [ "$l" = "name wl$scale" ] && named=0; done
    ((named)) && sleep 0.1
  done
  check "typed name reached the name dialog at scale $scale" $named "names: ${LIST[*]}"

  # Language 3 by its button: other pictures, the same checks.
  click "where Btn_Lang3_4"
  until_answer 50 language "language 3"
  check "language 3 chosen by a click at scale $scale" $? "$ANSWER"
  shot lang3-macro "$scale"
  click "where Btn_Main_4" && until_shown Img_P1
  shot lang3 "$scale"

}

# One run at each scale; a run that cannot go on (no pointer, no window, the
# mouse not read) stops there and the next starts.
for scale in 1 1.5 2; do
  run_at_scale "$scale"
  close_channels
  stop_runs
done
exit $fail
