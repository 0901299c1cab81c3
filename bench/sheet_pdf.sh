#!/usr/bin/env bash
# Benchmark of the drawn sheets: the shipped example's six holes from the input file to combined.pdf,
# one hole of 200 layers laid out over many pages, and the example to DXF and HP-GL/2 (time and bytes per
# hole), each a one-shot run in a temporary engine folder.
#   bench/sheet_pdf.sh [RUNS]      (default: 3 runs each; the best is printed)
# Needs a build (BUILD_DIR, default build/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
runs=${1:-3}
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"
mkdir -p "$work/drive_c"
export VLX_DRIVE_C="$work/drive_c"

{
  echo "Job Number : BENCH"
  echo "Hole Number : LONG"
  echo "/"
  for ((l = 1; l <= 200; l++)); do
    printf '%d.%02d  Stiff dark grey fissured silty CLAY, rare shells.\n' $((l / 4)) $(((l % 4) * 25))
  done
  echo "/"
  echo "//"
  echo "///"
} | sed 's/$/\r/' >"$work/long.txt"

best_of() {  # input file [device]; prints the best wall time in ms
  local best=
  printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = %s\r\n2/      output = %s\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' "$1" "${2:-PDF}" >"$work/@runfile.dat"
  for ((r = 1; r <= runs; r++)); do
    local start end ms
    start=$(date +%s%N)
    (cd "$work" && ./profile @runfile.dat </dev/null >"$work/out.txt" 2>&1) || true
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
  done
  echo "$best"
}

ms=$(best_of Examples/Examples.TXT)
printf 'the example, six holes to combined.pdf: %d.%03d s\n' $((ms / 1000)) $((ms % 1000))
ms=$(best_of long.txt)
pages=$(pdfinfo "$work/drive_c/VLXFILES/BENCH/LONG.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
printf 'one hole of 200 layers (%s pages): %d.%03d s\n' "${pages:-?}" $((ms / 1000)) $((ms % 1000))
for device in DXF PGL; do
  ms=$(best_of Examples/Examples.TXT $device)
  ext=$(echo "$device" | tr 'A-Z' 'a-z')
  bytes=$(cat "$work"/drive_c/VLXFILES/GE2631/*."$ext" | wc -c)
  printf 'the example to %s: %d.%03d s, %d bytes per hole\n' "$device" $((ms / 1000)) $((ms % 1000)) $((bytes / 6))
done
