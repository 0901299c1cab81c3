#!/usr/bin/env bash
# What CI runs. Installs what is missing, then two passes:
#   1. GCC with warnings as errors: builds everything in build/ and runs the whole test suite;
#   2. clang with AddressSanitizer and UndefinedBehaviorSanitizer (a report ends the program and fails
#      its test), warnings as errors: builds the engine, its tools and tests and the front end's logic
#      without Qt (frontend/core, not its windows) in build-sanitize/ and runs their unit and end-to-end
#      tests (the replays of every fuzz corpus among them).
# BUILD_DIR names the first build folder; the second is beside it, with "-sanitize" added.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
jobs=$(nproc)

"$top/scripts/bootstrap.sh"

echo "== test 1/2: GCC, warnings as errors, all tests"
BUILD_DIR=$build CXX=g++ "$top/scripts/build.sh" -DVLX_WERROR=ON
(cd "$build" && ctest --output-on-failure -j"$jobs")

# Reports with a stack, its lines named by llvm-symbolizer.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
echo "== test 2/2: clang, address and undefined-behaviour sanitizers, the engine's and front-end logic's unit and e2e tests"
# -O1 keeps the sanitized build and its runs quick; line tables name the source line in a report.
BUILD_DIR=$build-sanitize CXX=clang++ BUILD_TYPE=Sanitize "$top/scripts/build.sh" \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" -DVLX_WERROR=ON -DVLX_SANITIZE=ON -DVLX_FRONTEND=OFF
(cd "$build-sanitize" && ctest --output-on-failure -j"$jobs" -L 'unit|e2e')
echo "== tests passed"
