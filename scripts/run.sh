#!/usr/bin/env bash
# Runs the client on a simulated device: installs what is missing, builds, and prepares the
# device root (KORVEX_DEVICE_ROOT, default ~/.local/share/korvex-device).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
root="${KORVEX_DEVICE_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/korvex-device}"
mkdir -p -m 700 "$root"
echo "device root: $root"
