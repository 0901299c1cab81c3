#!/usr/bin/env bash
# The spell checker with the shipped English.DIC: a check from the top of about 60 KB of the example input,
# whose only unknown word is its last, until it stops there with suggestions; then Edit Dictionary's
# sorted rewrite of the whole dictionary. Needs a build (BUILD_DIR, default build/).
#   bench/spell.sh [KILOBYTES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake --build "$build" --target spell_bench >/dev/null
"$build/frontend/core/spell_bench" "$top/frontend/dict/English.DIC" "$top/data/Examples/Examples.TXT" "${1:-60}"
