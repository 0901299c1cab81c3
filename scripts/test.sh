#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh"
cd "${BUILD_DIR:-$top/build}"
ctest --output-on-failure -j"$(nproc)"
