#!/usr/bin/env bash
# Configures and builds the project in build/. BUILD_DIR and BUILD_TYPE may be set, CXX names the
# compiler of a new build folder and BUILD_TARGETS the targets to build (default: all). Arguments are
# CMake options for the configuration (-DVLX_WERROR=ON); without any, a folder configured before is
# built as it stands.
#
# A new build folder is configured as the first pass of scripts/test.sh configures it: GCC (unless CXX
# names another compiler) and warnings as errors (unless an argument says -DVLX_WERROR=OFF). So the
# example run, the install and the tests share one build of build/, and each source compiles once.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=${CXX:-g++} cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DVLX_WERROR=ON "$@"
elif (($#)); then
  cmake "$build" "$@"
fi
# shellcheck disable=SC2086 # BUILD_TARGETS is a list of names
cmake --build "$build" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
