#!/usr/bin/env bash
# How long the front end takes to read the engine's version text (it does so at every change of the
# engine-folder box): installs the engine into a temporary folder and reads its version 50 times.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target engine_version_bench profile >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
BUILD_DIR=$build "$top/scripts/install.sh" "$dir" >/dev/null
"$build/frontend/core/engine_version_bench" "$dir" 50
