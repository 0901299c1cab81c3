#!/usr/bin/env bash
# Benchmark of the sheet layout: a one-shot run of one hole of 200 layers and
# 50 notes of a line each (conversion, coding, folding, scale and page search), in a temporary engine folder.
#   bench/layout.sh [RUNS]      (default: 5 runs; the best is printed)
# The layout's own share is the run's time less that of the conversion and coding of the same hole
# (bench/coder.sh); the run as a whole is the figure a user waits for. Needs a build (BUILD_DIR,
# default build/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
runs=${1:-5}
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"

# One printed line each (longer texts would need more than the 12 pages a sheet may have).
text="Stiff dark grey fissured silty CLAY, rare shells."
{
  echo "Job Number : BENCH"
  echo "Hole Number : LONG"
  echo "/"
  for ((l = 1; l <= 200; l++)); do
    printf '%d.%02d  %s\n' $((l / 4)) $(((l % 4) * 25)) "$text"
  done
  echo "/"
  echo "NOTES:"
  for ((n = 1; n <= 50; n++)); do
    echo "$n. Water strike at $n.20 m, rising slowly after twenty minutes; casing sealed it off."
  done
  echo "//"
  echo "///"
} | sed 's/$/\r/' >"$work/holes.txt"
printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' >"$work/@runfile.dat"

best=
for ((r = 1; r <= runs; r++)); do
  start=$(date +%s%N)
  (cd "$work" && ./profile @runfile.dat </dev/null >"$work/out.txt" 2>&1) || true
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
done
tr -d "\r" <"$work/out.txt" | grep -a "page(s)\|no sheet\|^\*" | tail -2 || true
printf 'one hole of 200 layers and 50 notes, converted, coded and laid out: %d.%03d s (best of %d)\n' \
  $((best / 1000)) $((best % 1000)) "$runs"
