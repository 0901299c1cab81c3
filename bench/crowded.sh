#!/usr/bin/env bash
# Benchmark of crowded samples columns: one-shot runs of the test fixtures tests/sheet/marks.txt (a 40 m
# hole of 126 samples at 1:200 among them) and tests/sheet/crowded.txt (marks millimetres apart), each
# with the search for clear leaders and mark places it sets off, in a temporary engine folder.
#   bench/crowded.sh [RUNS]      (default: 3 runs; the best of each is printed)
# Needs a build (BUILD_DIR, default build/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
runs=${1:-3}
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"

for fixture in marks crowded; do
  cp "$top/tests/sheet/$fixture.txt" "$work/$fixture.txt"
  printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = %s.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' \
    "$fixture" >"$work/@runfile.dat"
  best=
  for ((r = 1; r <= runs; r++)); do
    start=$(date +%s%N)
    (cd "$work" && VLX_DRIVE_C="$work" ./profile @runfile.dat </dev/null >"$work/out.txt" 2>&1) || true
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
  done
  printf '%s.txt, every hole drawn on PDF: %d.%03d s (best of %d)\n' "$fixture" $((best / 1000)) $((best % 1000)) "$runs"
done
