#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the program.
#   ./scripts/run.sh        the program, on the host's HID interfaces
#   ./scripts/run.sh demo   the same program on a simulated mouse
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

BUILD=build-release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF
cmake --build "$BUILD" -j"$(nproc)" --target orb5610 orb5610-demo

if [ "${1:-}" = "demo" ]; then
  exec "$BUILD/src/app/orb5610-demo"
fi
exec "$BUILD/src/app/orb5610"
