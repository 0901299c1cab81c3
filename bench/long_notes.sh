#!/usr/bin/env bash
# Speed of the sheet's text path on one long paragraph: a hole of three layers whose notes are one line
# of SIZE bytes (the words of a field note repeated, an underlined word now and then, no line break), run
# one-shot to PDF in a temporary engine folder without a terminal. Prints per size the CPU time of the
# whole run (user + system; the fastest of RUNS runs, default 3), the CPU time per megabyte and the peak
# memory. Folding costs time in proportion to the text's length, so the time per megabyte stays flat as
# the size grows.
#   bench/long_notes.sh [SIZE ...]     (bytes; default: 250000 500000 1000000)
# BUILD_DIR names the build to measure (default: build/, a release build with debug information).
# The note is far longer than a page: the lines beyond the sheet's room are said and left out, as a
# user would see them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
[ -x "$build/engine/profile" ] || { echo "no engine program at $build/engine/profile (build first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (/usr/bin/time, Debian package time)" >&2; exit 1; }
runs=${RUNS:-3}
sizes=("$@")
((${#sizes[@]})) || sizes=(250000 500000 1000000)
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"
printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' \
  >"$work/@runfile.dat"

make_input() {
  /usr/bin/python3 - "$1" <<'PY'
import sys
size = int(sys.argv[1])
words = ("The pit stood open for twenty minutes; its sides were stable, the fissured clay dried and "
         "cracked in the sun, and the pit was backfilled with its own arisings on completion").split()
parts, n, i = [], 3, 0
while n < size:
    w = words[i % len(words)]
    if i % 97 == 13: w = "_" + w              # an underlined word
    parts.append(w)
    n += len(w) + 1
    i += 1
note = ("1. " + " ".join(parts))[:size]
head = "Job Number : BENCH\r\nHole Number : LONG\r\n/\r\n1.00  Firm brown CLAY.\r\n2.50  Dense SAND.\r\n4.00  Stiff grey CLAY.\r\n/\r\nNOTES:\r\n"
sys.stdout.buffer.write((head + note + "\r\n//\r\n///\r\n").encode("latin-1"))
PY
}

printf '%10s %9s %9s %9s %10s %8s  %s\n' bytes "cpu s" "user s" "sys s" "cpu s/MB" "peak MB" "result"
for size in "${sizes[@]}"; do
  make_input "$size" >"$work/holes.txt"
  best=
  for ((r = 1; r <= runs; r++)); do
    rm -rf "$work/drive_c"
    (cd "$work" && VLX_DRIVE_C="$work/drive_c" /usr/bin/time -f '%U %S %M' -o "$work/time" ./profile @runfile.dat \
      </dev/null >"$work/out.txt" 2>&1) || true
    read -r u s k <"$work/time"
    if [ -z "$best" ] || awk -v a="$u" -v b="$s" -v c="$best" 'BEGIN { exit !(a + b < c) }'; then
      best=$(awk -v a="$u" -v b="$s" 'BEGIN { print a + b }')
      user=$u sys=$s kb=$k
    fi
  done
  result=$(find "$work/drive_c" -name LONG.pdf 2>/dev/null | head -1)
  result=${result:+$(basename "$result")}
  awk -v b="$size" -v u="$user" -v s="$sys" -v kb="$kb" -v r="${result:-no sheet}" 'BEGIN {
    printf "%10d %9.2f %9.2f %9.2f %10.2f %8.1f  %s\n", b, u + s, u, s, (u + s) * 1e6 / b, kb / 1024, r }'
done
