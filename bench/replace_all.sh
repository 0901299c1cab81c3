#!/usr/bin/env bash
# Replace All of the editor's find box: about 10,000 matches in a text of 200 KB (the logic with a text box
# that changes the whole text at every replacement, as the editor's does). Needs a build (BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target replace_bench >/dev/null
"$build/frontend/core/replace_bench"
