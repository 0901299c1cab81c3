#!/usr/bin/env bash
# Benchmark of the hole catalogue and the hole coder: converts an input of many holes in a temporary
# engine folder, then times codedump (catalogue, sort, coding of every hole) over the coded files.
#   bench/coder.sh [HOLES] [LAYERS]      (default: 500 holes of 6 layers)
# Prints the seconds codedump took. Needs a build with the tests (BUILD_DIR, default build/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
holes=${1:-500}
layers=${2:-6}
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"

descriptions=(
  "Soft to firm brown slightly sandy CLAY with occasional rootlets."
  "MADE GROUND: dark brown sandy gravelly clay with brick and concrete fragments."
  "Medium dense orange brown fine to coarse SAND and GRAVEL."
  "Stiff grey fissured silty CLAY with claystone lithorelicts."
  "Loose grey clayey SILT with pockets of PEAT."
  "Weak grey MUDSTONE, recovered as angular gravel of mudstone."
)
{
  echo "Job Number : BENCH"
  for ((h = 1; h <= holes; h++)); do
    echo "Hole Number : H$h"
    echo "/"
    for ((l = 1; l <= layers; l++)); do
      echo "$l.00  ${descriptions[$(((h + l) % ${#descriptions[@]}))]}"
    done
    echo "/"
    echo "//"
  done
  echo "///"
} | sed 's/$/\r/' >"$work/holes.txt"
printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' >"$work/@runfile.dat"
(cd "$work" && ./profile @runfile.dat </dev/null >/dev/null) || true

count=$(ls "$work" | grep -c '\.TRX$' || true)
start=$(date +%s%N)
(cd "$work" && "$build/tests/codedump" --summary >/dev/null)
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
printf 'codedump over %d coded holes of %d layers: %d.%03d s\n' "$count" "$layers" $((ms / 1000)) $((ms % 1000))
