#!/usr/bin/env bash
# Runs the client on a simulated device: installs what is missing, builds, prepares the device
# root, writes its settings (screen size, the demo gateway and its CA), installs the client's
# package through the device's installer (the agreement answered unattended), starts the demo
# gateway and the service host, and opens the client in a desktop window. Without a display it
# takes the headless tour instead and says where its screenshots are. Everything it started is
# stopped when the client ends (or, with --keep-running, at Ctrl-C).
#
#   scripts/run.sh [--fresh] [--headless] [--keep-running]
#
#   --fresh             start from an empty device root (the default keeps the existing one)
#   --headless          take the headless tour even with a display
#   --keep-running      leave the demo gateway and the service host up after the client or the
#                       tour ended, for the merchant's demo page, until Ctrl-C
#   KORVEX_DEVICE_ROOT  the device root (default ~/.local/share/korvex-device)
#   KV_SCREEN           the screen size: 240x320 (the default), 320x240, 480x640 or 640x480
#   KV_FRESH=1          the same as --fresh
#   KV_GATEWAY_PORT     the demo gateway's port (default 0: any free one)
#   KV_JOBS             parallel build jobs (default: the build tool's own choice)
#
# One run at a time uses the build folder (build/run); the tour's screenshots and the programs'
# logs are kept per device root and screen size, in build/run/out/<root>-<hash>/<size>/.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

refuse() {
  echo "run.sh: $*" >&2
  exit 2
}

fresh="${KV_FRESH:-0}"
headless=0
keep_running=0
for argument in "$@"; do
  case "$argument" in
    --fresh) fresh=1 ;;
    --headless) headless=1 ;;
    --keep-running) keep_running=1 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) refuse "unknown option $argument (try --help)" ;;
  esac
done

# Only the sizes that have a resource library of the client's (ModelRes_<size>) are offered.
screen="${KV_SCREEN:-240x320}"
case "$screen" in
  240x320|320x240|480x640|640x480) ;;
  *) refuse "KV_SCREEN must be one of 240x320, 320x240, 480x640 or 640x480 (got \"$screen\")" ;;
esac
width="${screen%x*}"
height="${screen#*x}"

gateway_port="${KV_GATEWAY_PORT:-0}"
if [[ ! "$gateway_port" =~ ^[0-9]{1,5}$ ]] || (( 10#$gateway_port > 65535 )); then
  refuse "KV_GATEWAY_PORT must be a port number, or 0 for any free one (got \"$gateway_port\")"
fi

root="${KORVEX_DEVICE_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/korvex-device}"
root="$(realpath -m "$root")"
export KORVEX_DEVICE_ROOT="$root"
# A device root is a folder of the device's files: one is emptied by --fresh only when it holds a
# device's state, or nothing.
is_device_root() {
  [[ -d "$root/.kernel" || -f "$root/device.ini" || -z "$(ls -A "$root")" ]]
}
if [[ -e "$root" && ! -d "$root" ]]; then
  refuse "the device root $root is not a folder (set KORVEX_DEVICE_ROOT to a folder)"
fi
if [[ "$fresh" == 1 && -d "$root" ]] && ! is_device_root; then
  refuse "$root is not a device root (no .kernel or device.ini, and not empty); --fresh empties only a device root"
fi
existing="$root"
while [[ ! -e "$existing" ]]; do
  existing="$(dirname "$existing")"
done
if [[ ! -d "$existing" || ! -w "$existing" ]]; then
  refuse "the device root $root cannot be made: $existing is not a folder this user may write"
fi

build=build/run
mkdir -p "$build"
# One run a build folder: a second would rebuild, reinstall and restart what the first uses.
lock="$build/run.lock"
exec 9>>"$lock"
if ! flock -n 9; then
  holder="$(head -n 1 "$lock" 2>/dev/null || true)"
  echo "run.sh: another run is using $build${holder:+ ($holder)}; wait for it to end or stop it" >&2
  exit 1
fi
echo "process $$, device root $root, screen $screen, since $(date +%H:%M:%S)" >"$lock"

step() { printf '\n==> %s\n' "$*"; }

step "checking the build's packages"
scripts/bootstrap.sh 9>&-

step "building the client, its package and a newer one, the demo gateway and the service host in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF >/dev/null 9>&-
cmake --build "$build" ${KV_JOBS:+-j "$KV_JOBS"} \
  --target korvex_package korvex_update_package korvex-tour korvex-testgateway service_host wceload 9>&-

if [[ "$fresh" == 1 && -d "$root" ]]; then
  rm -rf -- "$root"
fi
if [[ -d "$root" ]]; then
  step "device root: $root (existing: its settings, accounts and messages stay)"
else
  step "device root: $root (fresh)"
fi
mkdir -p -m 700 "$root"
mkdir -p "$root/Windows" "$root/Temp"

# The tour and the logs of this device root and screen size; other roots and sizes keep theirs.
out="$build/out/$(basename "$root")-$(printf '%s' "$root" | sha256sum | cut -c1-8)/$screen"
logs="$out/logs"
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
"$build/testgateway/korvex-testgateway" --port "$gateway_port" --tls "$tls" --demo \
  --update-package "$repo/$build/update/KorvexPortal.CAB" >"$logs/gateway.out" 2>"$logs/gateway.err" 9>&- &
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
echo "device settings: $root/device.ini (screen $screen)"

step "installing the client's package through the device's installer"
install -m 700 "$build/platform/install/wceload" "$root/Windows/wceload.exe"
cp "$build/KorvexPortal.CAB" "$root/Temp/KorvexPortal.CAB"
"$root/Windows/wceload.exe" '"\Temp\KorvexPortal.CAB" /delete 1 /silent' 2>"$logs/install.err" 9>&- || {
  echo "run.sh: the installer failed:" >&2
  cat "$logs/install.err" >&2
  exit 1
}
install_dir="$root/Program Files/KorvexPortal"
echo "installed: \\Program Files\\KorvexPortal ($install_dir)"

display=0
if [[ "$headless" == 0 && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
  display=1
  # The client that a merchant's order starts (through the service) shows its window too.
  export KV_DISPLAY=sdl
fi

step "starting the service host (the local order gateway Dovrel)"
"$build/platform/services/korvex-services" Dovrel >"$logs/services.out" 2>"$logs/services.err" 9>&- &
pids+=($!)
if ready="$(first_line "$logs/services.out" "$!")" && [[ "$ready" == ready ]]; then
  echo "service host: ready (log $logs/services.err)"
else
  # The host says which service did not start and why (a port in use, say).
  echo "run.sh: the service host did not start:" >&2
  cat "$logs/services.err" >&2
  exit 1
fi

login="log in as demo@korvex.cn, password demo1234; payment password pay123456"
if [[ "$display" == 1 ]]; then
  step "opening the client ($login)"
  echo "F1/F2 are the soft keys; close the window to end"
  "$install_dir/KorvexPortal.exe" 9>&-
else
  step "no display: the headless tour of the main screens"
  install -m 700 "$build/KorvexPortal/tour/korvex-tour" "$install_dir/KorvexTour.exe"
  shots="$repo/$out/tour"
  rm -rf -- "$shots"
  "$install_dir/KorvexTour.exe" "$shots" 9>&-
fi

step "what next"
if [[ "$display" == 0 ]]; then
  echo "the tour's screenshots: $shots"
  echo "the client in a window: run scripts/run.sh on a desktop (DISPLAY or WAYLAND_DISPLAY set; it opens"
  echo "  the window with KV_DISPLAY=sdl) and $login"
fi
echo "the programs' logs: $repo/$logs"
echo "the merchant's demo page: $gateway/merchant/shop.htm (its browser must trust $tls/ca.pem); it sends"
echo "  its order to the service on 127.0.0.1:8088, which opens the client to pay it (a window needs a display)"
if [[ "$keep_running" == 1 ]]; then
  echo "the demo gateway and the service host stay up for it until Ctrl-C"
  # Returns when either ends (or at Ctrl-C, which stops both).
  wait -n "${pids[@]}" || true
  echo "run.sh: the demo gateway or the service host ended; see $repo/$logs" >&2
  exit 1
fi
echo "scripts/run.sh --keep-running leaves the demo gateway and the service host up for it until Ctrl-C"
