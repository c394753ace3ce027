#!/usr/bin/env bash
# Installs what is missing, builds (with AddressSanitizer and UBSan) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNOTARIUM_SANITIZE=ON -DNOTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
