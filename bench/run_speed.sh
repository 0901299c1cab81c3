#!/usr/bin/env bash
# Speed of whole one-shot runs as the input grows: from the input text to the finished results (a sheet
# file per hole, the legend, combined.pdf on PDF, and the target copy), on each output device.
#
# The N-hole input is the shipped example input repeated: its job header once, then its holes in turn,
# each with a hole number of its own (so every hole gets its own coded hole file and result file). A run
# is `profile @runfile.dat` without a terminal in a fresh engine folder whose drive C: (home folder) lies
# inside it, so the results stay there. After each run the job folder must hold one result file per
# hole (and the engine folder one coded hole file per hole), else the bench stops.
#
# Printed per device and N: the CPU time of the fastest of RUNS runs (default 3; other work on the
# machine slows a run down but never speeds it up), as user + system and each, in all and per hole; the
# peak memory (GNU time %M, the largest resident set); and the system calls of one more run under
# `strace -c -f`, in all, per hole and the most frequent kinds. A benchmark: it prints figures and
# passes no judgement on them; it fails only when a run fails or leaves a result out.
#
#   bench/run_speed.sh              PDF at 100, 1000, 5000 and 20000 holes; DXF and PGL at 1000
#   bench/run_speed.sh N ...        every device of DEVICES at each N (a quick run: bench/run_speed.sh 1000)
#   DEVICES="PDF DXF" bench/run_speed.sh    the devices to run (PDF, PGL = HP-GL/2, DXF, PCL)
#
# BUILD_DIR names the build to measure (default build/). The figures are meant from a Release build
# (docs/speed.md keeps them):
#   BUILD_DIR=rel BUILD_TYPE=Release BUILD_TARGETS=profile bash scripts/build.sh -DVLX_WERROR=OFF
# Tracing costs far more than the run: only runs of at most STRACE_MAX holes (default 5000) are traced,
# so the 20000-hole run shows "-" for its system calls (STRACE_MAX=0 traces none).
# The engine folders are made under TMPDIR (default /tmp), whose file system the header names. The
# system time of a run on a disk's file system depends on that file system's state (ext4 spends long
# finding free inodes after many files were deleted) far more than on the engine; TMPDIR=/dev/shm (a
# tmpfs) measures the engine's own cost steadily.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
engine=$build/engine/profile
[ -x "$engine" ] || { echo "no engine program at $engine (build first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (/usr/bin/time, Debian package time)" >&2; exit 1; }
runs=${RUNS:-3}
strace_max=${STRACE_MAX:-5000}
read -r -a devices <<<"${DEVICES:-PDF DXF PGL}"

# The list of (device, holes) pairs to run.
plan=()
if (($#)); then
  for n in "$@"; do
    [[ $n =~ ^[1-9][0-9]*$ ]] || { echo "not a number of holes: $n" >&2; exit 2; }
    for d in "${devices[@]}"; do plan+=("$d $n"); done
  done
else
  for d in "${devices[@]}"; do
    if [ "$d" = PDF ]; then
      for n in 100 1000 5000 20000; do plan+=("$d $n"); done
    else
      plan+=("$d 1000")
    fi
  done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The N-hole input: the example's lines before its first hole, then its holes in turn up to N, hole i
# numbered with its own three-character code (the coded hole file is named after the last three letters
# or digits of the hole number), then the end line. Made once per N, into $2, with the hole numbers,
# one a line, into $3.
make_input() {
  /usr/bin/python3 - "$top/data/Examples/Examples.TXT" "$1" "$2" "$3" <<'PY'
import re, sys
text = open(sys.argv[1], 'rb').read().decode('latin-1')
n = int(sys.argv[2])
lines = text.split('\r\n')
end = lines.index('///')
first = next(i for i, l in enumerate(lines) if l.startswith('Hole Number'))
head, holes, block = lines[:first], [], []
for l in lines[first:end]:
    block.append(l)
    if l == '//':
        holes.append(block)
        block = []
digits = '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ'
out, names = list(head), []
for i in range(n):
    code = digits[i // 1296 % 36] + digits[i // 36 % 36] + digits[i % 36]
    for l in holes[i % len(holes)]:
        m = re.match(r'(Hole Number\s*:\s*)([A-Za-z]*)', l)
        if m:
            names.append(m.group(2) + code)
        out.append(m.group(1) + m.group(2) + code if m else l)
    out.append('')
out.append('///')
open(sys.argv[3], 'wb').write(('\r\n'.join(out) + '\r\n').encode('latin-1'))
open(sys.argv[4], 'w').write(''.join(name + '\n' for name in names))
PY
}

# A fresh engine folder for device $2: the shipped data files, the engine program, the input $3 and a
# run file asking for every hole with the legend and a target copy. Its drive C: is $1/home, where the
# job folder (VLXFILES/<job>) is made.
make_folder() {
  mkdir -p "$1/home"
  (cd "$top/data" && tar cf - --exclude=./src .) | (cd "$1" && tar xf -)
  cp "$engine" "$1/profile"
  cp "$3" "$1/holes.txt"
  printf '%s\r\n' "0/   setupfile = STANDARD.SET" "1/   inputfile = holes.txt" "2/      output = $2" \
    "3/    holelist = ALL" "4/    activity = 0" "5/ output-addr = " "6/       scale = " "7/     summary = YES" \
    "8/  targetcopy = $1/home/target.$2" >"$1/@runfile.dat"
}

# Runs the engine in folder $1 with the command prefix that follows.
run_engine() {
  local ef=$1
  shift
  (cd "$ef" && HOME=$ef/home VLX_DRIVE_C=$ef/home "$@" ./profile @runfile.dat </dev/null >"$work/out" 2>&1)
}

# Stops unless folder $1's run of $3 holes on device $2 left one coded hole file per hole, the result
# file of every hole of the list $4 (HOLE.ext in the job folder) and the target copy.
check_results() {
  local ef=$1 dev=$2 n=$3 names=$4 ext trx missing
  case $dev in PDF) ext=pdf ;; PGL) ext=pgl ;; DXF) ext=dxf ;; *) ext=pcl ;; esac
  trx=$(find "$ef" -maxdepth 1 -name '*.TRX' | wc -l)
  missing=$(sed "s/\$/.$ext/" "$names" | sort | comm -23 - <(find "$ef/home/VLXFILES" -mindepth 2 -maxdepth 2 \
    -type f -printf '%f\n' | sort) | wc -l)
  if [ "$trx" -ne "$n" ] || [ "$missing" -ne 0 ] || [ ! -s "$ef/home/target.$dev" ]; then
    echo "the $dev run of $n holes made $trx coded hole files; result files missing: $missing" >&2
    [ -s "$ef/home/target.$dev" ] || echo "no target copy" >&2
    tail -5 "$work/out" >&2
    exit 1
  fi
}

echo "engine: $engine ($(grep -s '^CMAKE_BUILD_TYPE:' "$build/CMakeCache.txt" | cut -d= -f2) build), best of $runs"
echo "engine folders on: $(dirname "$work") ($(stat -f -c %T "$work") file system)"
printf '%-4s %6s %8s %8s %8s %8s %8s %7s %8s  %s\n' dev holes "cpu s" "ms/hole" "user ms" "sys ms" "peak MB" \
  calls/h "calls" "system calls (most frequent)"
last_n=
for item in "${plan[@]}"; do
  read -r dev n <<<"$item"
  if [ "$n" != "$last_n" ]; then
    make_input "$n" "$work/holes-$n.txt" "$work/names-$n"
    last_n=$n
  fi
  best=
  for ((r = 1; r <= runs; ++r)); do
    ef=$work/$dev-$n-$r
    make_folder "$ef" "$dev" "$work/holes-$n.txt"
    run_engine "$ef" /usr/bin/time -f '%U %S %M' -o "$work/time" || {
      echo "the $dev run of $n holes failed:" >&2
      tail -5 "$work/out" >&2
      exit 1
    }
    check_results "$ef" "$dev" "$n" "$work/names-$n"
    read -r u s k <"$work/time"
    if [ -z "$best" ] || awk -v a="$u" -v b="$s" -v c="$best" 'BEGIN { exit !(a + b < c) }'; then
      best=$(awk -v a="$u" -v b="$s" 'BEGIN { print a + b }')
      user=$u sys=$s kb=$k
    fi
  done
  calls=- total=- top_calls=
  if ! command -v strace >/dev/null; then
    top_calls="(strace not installed)"
  elif ((n <= strace_max)); then
    ef=$work/$dev-$n-strace
    make_folder "$ef" "$dev" "$work/holes-$n.txt"
    run_engine "$ef" strace -c -f -o "$work/strace" || { echo "the traced $dev run of $n holes failed" >&2; exit 1; }
    check_results "$ef" "$dev" "$n" "$work/names-$n"
    total=$(awk '$NF == "total" { print $4 }' "$work/strace")
    calls=$(awk -v t="$total" -v n="$n" 'BEGIN { printf "%.1f", t / n }')
    top_calls=$(awk '/^ *[0-9.]+ +[0-9.]+ +[0-9]+ +[0-9]+ / && $NF != "total" { print $4, $NF }' "$work/strace" |
      sort -rn | head -8 | awk -v n="$n" '{ printf "%s%s %.1f", (NR > 1 ? ", " : ""), $2, $1 / n }')
  else
    top_calls="(not traced above STRACE_MAX=$strace_max holes)"
  fi
  awk -v d="$dev" -v n="$n" -v u="$user" -v s="$sys" -v kb="$kb" -v c="$calls" -v t="$total" -v tc="$top_calls" 'BEGIN {
    printf "%-4s %6d %8.2f %8.2f %8.2f %8.2f %8.1f %7s %8s  %s\n", d, n, u + s, (u + s) * 1000 / n, u * 1000 / n,
      s * 1000 / n, kb / 1024, c, t, tc }'
  # The folders of the runs of one device and N go after them (those of 20000 PDF holes hold 2 GB each).
  rm -rf "$work/$dev-$n-"*
done
