#!/usr/bin/env bash
# Runs the client on a simulated device: installs what is missing, builds, prepares the device
# root, writes its settings (screen size, the demo gateway and its CA), installs the client's
# package through the device's installer (the agreement answered unattended), starts the demo
# gateway and the service host, and opens the client in a desktop window. Without a display it
# takes the headless tour instead and says where its screenshots are. Everything it started is
# stopped when the client ends.
#
#   scripts/run.sh [--fresh] [--headless]
#
#   --fresh             start from an empty device root (the default keeps the existing one)
#   --headless          take the headless tour even with a display
#   KORVEX_DEVICE_ROOT  the device root (default ~/.local/share/korvex-device)
#   KV_SCREEN           the screen size, WIDTHxHEIGHT (default 240x320; 320x240, 480x640, 640x480)
#   KV_FRESH=1          the same as --fresh
#   KV_GATEWAY_PORT     the demo gateway's port (default 0: any free one)
#   KV_JOBS             parallel build jobs (default: the build tool's own choice)
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

fresh="${KV_FRESH:-0}"
headless=0
for argument in "$@"; do
  case "$argument" in
    --fresh) fresh=1 ;;
    --headless) headless=1 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run.sh: unknown option $argument (try --help)" >&2; exit 2 ;;
  esac
done
screen="${KV_SCREEN:-240x320}"
if [[ ! "$screen" =~ ^([0-9]{3,4})x([0-9]{3,4})$ ]]; then
  echo "run.sh: KV_SCREEN must be WIDTHxHEIGHT, for example 480x640 (got \"$screen\")" >&2
  exit 2
fi
width="${BASH_REMATCH[1]}"
height="${BASH_REMATCH[2]}"

step() { printf '\n==> %s\n' "$*"; }

step "checking the build's packages"
scripts/bootstrap.sh

build=build/run
step "building the client, its package and a newer one, the demo gateway and the service host in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" ${KV_JOBS:+-j "$KV_JOBS"} \
  --target korvex_package korvex_update_package korvex-tour korvex-testgateway service_host wceload

root="${KORVEX_DEVICE_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/korvex-device}"
root="$(realpath -m "$root")"
export KORVEX_DEVICE_ROOT="$root"
if [[ "$fresh" == 1 && -d "$root" ]]; then
  # Only a folder that is a device root is emptied, never any other folder the variable names.
  if [[ -d "$root/.kernel" || -f "$root/device.ini" || -z "$(ls -A "$root")" ]]; then
    rm -rf -- "$root"
  else
    echo "run.sh: $root is not a device root; not emptying it" >&2
    exit 2
  fi
fi
if [[ -d "$root" ]]; then
  step "device root: $root (existing: its settings, accounts and messages stay)"
else
  step "device root: $root (fresh)"
fi
mkdir -p -m 700 "$root"
mkdir -p "$root/Windows" "$root/Temp"

logs="$build/logs"
mkdir -p "$logs"
pids=()
stop_all() {
  local status=$?
  for pid in "${pids[@]}"; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  exit "$status"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Waits (up to 60 s) until the file has a first line, while the process lives.
first_line() {
  local file="$1" pid="$2"
  for _ in $(seq 600); do
    if [[ -s "$file" ]] && head -n 1 "$file" | grep -q .; then
      head -n 1 "$file"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

step "starting the demo gateway (HTTPS with its test CA, offering the newer package as an update)"
tls="$repo/$build/demo-tls"
"$build/testgateway/korvex-testgateway" --port "${KV_GATEWAY_PORT:-0}" --tls "$tls" --demo \
  --update-package "$repo/$build/update/KorvexPortal.CAB" >"$logs/gateway.out" 2>"$logs/gateway.err" &
pids+=($!)
if ! gateway="$(first_line "$logs/gateway.out" "$!")"; then
  echo "run.sh: the demo gateway did not start:" >&2
  cat "$logs/gateway.err" >&2
  exit 1
fi
echo "demo gateway: $gateway (log $logs/gateway.err)"

# The device's settings: the managed file is rewritten; one written by hand is kept aside.
if [[ -f "$root/device.ini" ]] && ! grep -q '^# Written by scripts/run.sh' "$root/device.ini"; then
  mv "$root/device.ini" "$root/device.ini.saved"
  echo "the device's own settings were kept in $root/device.ini.saved"
fi
cat >"$root/device.ini" <<EOF
# Written by scripts/run.sh on each run.
[screen]
width = $width
height = $height

[phone]
manufacturer = Korvex
model = KV-6
imei = 356938035643809
imsi = 460001234567890

[connection]
name = China Mobile NET
destination = {436EF144-B4FB-4863-A041-8F905A62C572}
apn = cmnet

[contact]
name = 张三
mobile = 13800138000

[contact]
name = 李四
mobile = 13912345678

[network]
ca_bundle = $tls/ca.pem
gateway = $gateway
EOF
echo "device settings: $root/device.ini (screen ${width}x${height})"

step "installing the client's package through the device's installer"
install -m 700 "$build/platform/install/wceload" "$root/Windows/wceload.exe"
cp "$build/KorvexPortal.CAB" "$root/Temp/KorvexPortal.CAB"
"$root/Windows/wceload.exe" '"\Temp\KorvexPortal.CAB" /delete 1 /silent' 2>"$logs/install.err" || {
  echo "run.sh: the installer failed:" >&2
  cat "$logs/install.err" >&2
  exit 1
}
install_dir="$root/Program Files/KorvexPortal"
echo "installed: \\Program Files\\KorvexPortal ($install_dir)"

step "starting the service host (the local order gateway Dovrel)"
"$build/platform/services/korvex-services" Dovrel >"$logs/services.out" 2>"$logs/services.err" &
pids+=($!)
if ready="$(first_line "$logs/services.out" "$!")" && [[ "$ready" == ready ]]; then
  echo "service host: ready (log $logs/services.err)"
else
  echo "run.sh: the service host did not start; merchant orders will not reach the client:" >&2
  cat "$logs/services.err" >&2
fi

display=0
if [[ "$headless" == 0 && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
  display=1
fi
if [[ "$display" == 1 ]]; then
  step "opening the client (log in as demo@korvex.cn, password demo1234; payment password pay123456)"
  echo "F1/F2 are the soft keys; close the window to end"
  KV_DISPLAY=sdl "$install_dir/KorvexPortal.exe"
else
  step "no display: the headless tour of the main screens"
  install -m 700 "$build/KorvexPortal/tour/korvex-tour" "$install_dir/KorvexTour.exe"
  shots="$repo/$build/tour"
  rm -rf -- "$shots"
  "$install_dir/KorvexTour.exe" "$shots"
  echo "screenshots: $shots"
fi
