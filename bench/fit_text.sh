#!/usr/bin/env bash
# Speed of fitting a long text into its box: a hole whose Job Title is SIZE letters (the words of a title
# repeated, no line break) and whose file of samples holds a sample labelled with the same words, run
# one-shot in a temporary engine folder without a terminal, on PDF and on HP-GL/2. The title is cut to
# its box with "..." after the longest head that fits, the label to the room left of the sample column,
# and every head's width comes from one walk along the text, so the CPU time per megabyte stays flat as
# the size grows (measuring every shorter head again from its start made it grow with the size: 70,000 letters
# took 23 s on PDF and 62 s on HP-GL/2). Prints per size and device the CPU time of the whole run (user
# + system; the fastest of RUNS runs, default 3), the CPU time per megabyte and the peak memory.
#   bench/fit_text.sh [SIZE ...]     (letters; default: 20000 70000 170000)
# BUILD_DIR names the build to measure (default: build/, a release build with debug information).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
[ -x "$build/engine/profile" ] || { echo "no engine program at $build/engine/profile (build first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (/usr/bin/time, Debian package time)" >&2; exit 1; }
runs=${RUNS:-3}
sizes=("$@")
((${#sizes[@]})) || sizes=(20000 70000 170000)
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"

make_input() {
  /usr/bin/python3 - "$1" "$work/samples.txt" <<'PY'
import sys
size = int(sys.argv[1])
words = "Site investigation for the new bridge abutments and approach embankments at the old mill "
title = (words * (size // len(words) + 1))[:size]
sys.stdout.buffer.write(("Job Number : BENCH\r\nJob Title : " + title + "\r\nHole Number : TITLE\r\n/\r\n"
                         "1.00  Firm brown CLAY.\r\n2.50  Dense SAND.\r\n4.00  Stiff grey CLAY.\r\n/\r\n"
                         "SAMPLES: FILE: samples.txt\r\n//\r\n///\r\n").encode("latin-1"))
open(sys.argv[2], "wb").write(("Undisturbed samples\r\n2.00 U1 " + title + "\r\n").encode("latin-1"))
PY
}

printf '%10s %7s %9s %9s %9s %10s %8s  %s\n' letters device "cpu s" "user s" "sys s" "cpu s/MB" "peak MB" "result"
for size in "${sizes[@]}"; do
  make_input "$size" >"$work/holes.txt"
  for device in PDF PGL; do
    printf '0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = %s\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n' \
      "$device" >"$work/@runfile.dat"
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
    result=$(find "$work/drive_c" -iname 'TITLE.*' 2>/dev/null | head -1)
    result=${result:+$(basename "$result")}
    awk -v b="$size" -v d="$device" -v u="$user" -v s="$sys" -v kb="$kb" -v r="${result:-no sheet}" 'BEGIN {
      printf "%10d %7s %9.2f %9.2f %9.2f %10.2f %8.1f  %s\n", b, d, u + s, u, s, (u + s) * 1e6 / b, kb / 1024, r }'
  done
done
