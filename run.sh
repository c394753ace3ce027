#!/usr/bin/env bash
# Installs what is missing, builds and starts Notarium.
# Until the main window lands, it prints the outline of FILE.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOTARIUM_BUILD_TESTS=OFF -DNOTARIUM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
if [ $# -lt 1 ]; then
  echo "usage: ./run.sh FILE.nmd" >&2
  exit 2
fi
exec "$build/src/cli/notarium-cli" tree "$1"
