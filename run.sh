#!/usr/bin/env bash
# Installs what is missing, builds and starts Notarium (with FILE.nmd when one is given).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOTARIUM_BUILD_TESTS=OFF -DNOTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
exec "$build/notarium" "$@"
