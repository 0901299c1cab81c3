#!/usr/bin/env bash
# Benchmark of the borehole log: a one-shot PDF run of one borehole of 12 pages with 25 log columns and
# 2000 records (80 a column, every fourth column a graph), in a temporary engine folder. At 1:50 the hole
# of 125 m takes 11 profile pages (a deeper one needs more than the 12 a sheet may have) and 11 log pages.
#   bench/log.sh [RUNS]      (default: 3 runs; the best CPU time and the largest peak memory are printed)
# Goal: under 1 s of CPU on one core and under 50 MB peak for the whole run. Needs a build (BUILD_DIR,
# default build/) and /usr/bin/time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
runs=${1:-3}
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"

{
  echo "Job Number : BENCH"
  echo "Hole Number : LOG"
  echo "Scale : 1:50"
  echo "/"
  for ((l = 1; l <= 25; l++)); do echo "$((l * 5)).00  Stiff grey silty CLAY with layer number $l."; done
  echo "/"
  echo "NOTES:"
  echo "1. Benchmark hole."
  for ((c = 1; c <= 25; c++)); do
    if ((c % 4 == 0)); then echo "ATTRIBUTE: Graph $c [GRAPH 100]"; else echo "ATTRIBUTE: Column $c"; fi
    for ((r = 1; r <= 80; r++)); do
      depth=$((r * 150 / 100)).$(((r * 150) % 100 / 10))0
      if ((c % 4 == 0)); then echo " $depth: $(((r * 37 + c) % 100))"; else echo " $depth: R$r two words"; fi
    done
  done
  echo "//"
  echo "///"
} | sed 's/$/\r/' >"$work/holes.txt"
printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' >"$work/@runfile.dat"

best= peak=0
for ((r = 1; r <= runs; r++)); do
  mkdir -p "$work/drive_c"
  (cd "$work" && VLX_DRIVE_C="$work/drive_c" /usr/bin/time -f '%U %S %M' -o "$work/time.txt" ./profile @runfile.dat \
    </dev/null >"$work/out.txt" 2>&1) || true
  read -r user sys kb < <(tail -1 "$work/time.txt")
  ms=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')
  if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
  if ((kb > peak)); then peak=$kb; fi
done
pdf=$(find "$work/drive_c" -name 'LOG.pdf' | head -1)
pages=$( [ -n "$pdf" ] && command -v pdfinfo >/dev/null && pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }' || echo "?")
printf 'one borehole of %s PDF pages (profile and log), 25 log columns, 2000 records: %d.%03d s CPU (best of %d), %d MB peak\n' \
  "$pages" $((best / 1000)) $((best % 1000)) "$runs" $((peak / 1024))
