#!/usr/bin/env bash
# Usage: atspi_check.sh <orb5610-demo>
# Starts a private session bus with the accessibility bus and registry in it,
# the demo under Xvfb with Qt's AT-SPI bridge on, then atspi_walk.py. Exits
# 77 (skipped) with a line saying why when a part of the stack is missing.
set -euo pipefail
demo=$1
here=$(cd "$(dirname "$0")" && pwd)

# pyatspi is the distribution's: its own Python, whatever else is first on PATH.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
for tool in dbus-run-session xvfb-run xdotool "$py"; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
for f in /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
  [ -x "$f" ] || { echo "skipped: $f is missing (at-spi2-core)"; exit 77; }
done
"$py" -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is missing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/session.sh" <<INNER
#!/usr/bin/env bash
set -uo pipefail
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "\$XDG_RUNTIME_DIR" "\$HOME"
chmod 700 "\$XDG_RUNTIME_DIR"
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=\$!
for _ in \$(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done
/usr/libexec/at-spi2-registryd &
registry=\$!
sleep 0.5
"$demo" >"$work/demo.log" 2>&1 &
demo_pid=\$!
"$py" "$here/atspi_walk.py" "\$demo_pid"
rc=\$?
kill \$demo_pid \$registry \$launcher 2>/dev/null
wait \$demo_pid 2>/dev/null
exit \$rc
INNER
chmod +x "$work/session.sh"

set +e
xvfb-run -a -s "-screen 0 1400x1000x24" dbus-run-session -- "$work/session.sh"
rc=$?
set -e
if [ $rc -ne 0 ]; then
  echo "--- demo output"
  cat "$work/demo.log" 2>/dev/null | tail -20
fi
exit $rc
