#!/usr/bin/env bash
# Replace All of the editor's find box: 10,000 matches in a text of about 290 KB, on a plain text box and
# through the editor's logic with its undo ring. Needs a build (BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target replace_bench >/dev/null
"$build/frontend/core/replace_bench"
