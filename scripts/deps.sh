#!/usr/bin/env bash
# Installs the Debian packages the project needs, when any is missing.
# Idempotent: does nothing (and needs no network) when all are there.
# Packages named as arguments are installed with them (package.sh and
# fuzz.sh add what only they need).
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libhidapi-dev
  libfuse3-dev fuse3
  libx11-dev libxi-dev
  libglib2.0-dev gsettings-desktop-schemas
  dbus-daemon libkf5config-bin
  xvfb xdotool x11-xserver-utils
  sway grim wtype qt6-wayland python3 libwayland-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi dbus
)
PACKAGES+=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
