#!/usr/bin/env bash
# Runs the client on a simulated device: installs what is missing, builds, prepares the device
# root (KORVEX_DEVICE_ROOT, default ~/.local/share/korvex-device) and installs the client's
# package there through the device's installer, unattended.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
root="${KORVEX_DEVICE_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/korvex-device}"
mkdir -p -m 700 "$root"
echo "device root: $root"

# The device's installer in its place, and the package handed to it as the client's update does.
mkdir -p "$root/Windows" "$root/Temp"
install -m 700 "$build/platform/install/wceload" "$root/Windows/wceload.exe"
cp "$build/KorvexPortal.CAB" "$root/Temp/KorvexPortal.CAB"
KORVEX_DEVICE_ROOT="$root" "$root/Windows/wceload.exe" '"\Temp\KorvexPortal.CAB" /delete 1 /silent'
echo "installed: \\Program Files\\KorvexPortal"
