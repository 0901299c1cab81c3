#!/usr/bin/env bash
# Configures and builds the project in build/. BUILD_DIR and BUILD_TYPE may be set, CXX names the
# compiler of a new build folder and BUILD_TARGETS the targets to build (default: all). Arguments are
# CMake options for the configuration (-DVLX_WERROR=ON); without any, a folder configured before is
# built as it stands.
#
# A new build folder is configured as the first pass of scripts/test.sh configures it: GCC (unless CXX
# names another compiler) and warnings as errors (unless an argument says -DVLX_WERROR=OFF). So the
# example run, the install and the tests share one build of build/, and each source compiles once.
# BUILD_TYPE (RelWithDebInfo when not set; Release, Debug ...) given for a folder configured with
# another build type configures it again with the one given.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=${CXX:-g++} cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DVLX_WERROR=ON "$@"
else
  # A build type given for a folder configured with another one applies: the folder is configured
  # again with it (and everything compiles again). The compiler of a configured folder stays.
  configured=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
  if [ -n "${BUILD_TYPE:-}" ] && [ "$BUILD_TYPE" != "$configured" ]; then
    echo "build.sh: $build was configured as ${configured:-no build type}; configuring it as $BUILD_TYPE" \
      "(every source compiles again)"
    cmake "$build" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "$@"
  elif (($#)); then
    cmake "$build" "$@"
  fi
fi
# shellcheck disable=SC2086 # BUILD_TARGETS is a list of names
cmake --build "$build" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
