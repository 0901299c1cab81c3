#!/usr/bin/env bash
# Configures (once) and builds the project in build/. BUILD_DIR and BUILD_TYPE may be set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$build" -j"$(nproc)"
