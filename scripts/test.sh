#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs them all with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build "$build"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)" "$@"
