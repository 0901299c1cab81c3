#!/usr/bin/env bash
# Configures and builds the project in build/. BUILD_DIR and BUILD_TYPE may be set, CXX names the
# compiler of a new build folder and BUILD_TARGETS the targets to build (default: all). Arguments are
# CMake options for the configuration (-DVLX_WERROR=ON); without any, a folder configured before is
# built as it stands.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
elif (($#)); then
  cmake "$build" "$@"
fi
# shellcheck disable=SC2086 # BUILD_TARGETS is a list of names
cmake --build "$build" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
