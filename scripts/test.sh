#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build/test, and runs them all with CTest. With --release first,
# builds and runs them as a release build without sanitizers instead, in build/release.
# Other arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
if [[ "${1:-}" == "--release" ]]; then
  shift
  build=build/release
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
else
  build=build/test
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" >/dev/null
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
fi
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)" "$@"
