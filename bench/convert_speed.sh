#!/usr/bin/env bash
# Speed of a one-shot conversion as the input grows: the shipped example input repeated to N holes
# (the same job header once, the example's holes in turn, each with a hole number of its own), run
# without a terminal in a fresh engine folder. Prints per N the CPU time (user + system), the CPU time
# per hole, the peak memory, and, when strace is installed, the system calls of a second run: in all,
# per input line, and the most frequent kinds. Each N runs RUNS times (default 3) and the fastest run
# counts, since other work on the machine slows a run down but never speeds it up.
#   bench/convert_speed.sh [N ...]          (default: 100 1000 5000)
# BUILD_DIR names the build to measure (default: build/). Figures are kept in docs/speed.md.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
engine=$build/engine/profile
[ -x "$engine" ] || { echo "no engine program at $engine (build first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (/usr/bin/time, Debian package time)" >&2; exit 1; }
runs=${RUNS:-3}
counts=("$@")
((${#counts[@]})) || counts=(100 1000 5000)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The N-hole input: the example's lines before its first hole, then its holes in turn up to N, hole i
# numbered with its own three-character code (the coded hole file is named after the last three letters
# or digits of the hole number), then the end line.
make_input() {
  /usr/bin/python3 - "$top/data/Examples/Examples.TXT" "$1" <<'PY'
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
out = list(head)
for i in range(n):
    code = digits[i // 1296 % 36] + digits[i // 36 % 36] + digits[i % 36]
    for l in holes[i % len(holes)]:
        m = re.match(r'(Hole Number\s*:\s*)([A-Za-z]*)', l)
        out.append(m.group(1) + m.group(2) + code if m else l)
    out.append('')
out.append('///')
sys.stdout.buffer.write(('\r\n'.join(out) + '\r\n').encode('latin-1'))
PY
}

# A fresh engine folder: the shipped data files and the engine program. Folders are removed only at
# the end: a file system that has just deleted many files may take longer to create the next ones.
make_folder() {
  mkdir -p "$1"
  (cd "$top/data" && tar cf - --exclude=./src .) | (cd "$1" && tar xf -)
  cp "$engine" "$1/profile"
  printf '%s\r\n' "0/   setupfile = STANDARD.SET" "1/   inputfile = holes.txt" "2/      output = PDF" \
    "3/    holelist = ALL" "4/    activity = 0" >"$1/@runfile.dat"
}

printf '%6s %8s %10s %9s %9s %8s %9s %8s  %s\n' holes lines "cpu s" "user s" "sys s" "ms/hole" "peak MB" \
  "calls/ln" "system calls (most frequent)"
for n in "${counts[@]}"; do
  best=
  for ((r = 1; r <= runs; ++r)); do
    ef=$work/time-$n-$r
    make_folder "$ef"
    make_input "$n" >"$ef/holes.txt"
    lines=$(wc -l <"$ef/holes.txt")
    (cd "$ef" && /usr/bin/time -f '%U %S %M' -o "$work/time" ./profile @runfile.dat </dev/null >"$work/out" 2>&1) || {
      echo "the run of $n holes failed:" >&2
      tail -5 "$work/out" >&2
      exit 1
    }
    made=$(find "$ef" -maxdepth 1 -name '*.TRX' | wc -l)
    [ "$made" -eq "$n" ] || { echo "the run of $n holes made $made coded hole files" >&2; exit 1; }
    read -r u s k <"$work/time"
    if [ -z "$best" ] || awk -v a="$u" -v b="$s" -v c="$best" 'BEGIN { exit !(a + b < c) }'; then
      best=$(awk -v a="$u" -v b="$s" 'BEGIN { print a + b }')
      user=$u sys=$s kb=$k
    fi
  done
  calls=-
  top_calls="(strace not installed)"
  if command -v strace >/dev/null; then
    ef=$work/strace-$n
    make_folder "$ef"
    make_input "$n" >"$ef/holes.txt"
    (cd "$ef" && strace -c -f -o "$work/strace" ./profile @runfile.dat </dev/null >/dev/null 2>&1) || true
    total=$(awk '$NF == "total" { print $4 }' "$work/strace")
    calls=$(awk -v t="$total" -v l="$lines" 'BEGIN { printf "%.1f", t / l }')
    top_calls="$total: "$(awk '/^ *[0-9.]+ +[0-9.]+ +[0-9]+ +[0-9]+ / && $NF != "total" { print $4, $NF }' \
      "$work/strace" | sort -rn | head -6 | awk '{ printf "%s%s %s", (NR > 1 ? ", " : ""), $2, $1 }')
  fi
  awk -v n="$n" -v l="$lines" -v u="$user" -v s="$sys" -v kb="$kb" -v c="$calls" -v t="$top_calls" 'BEGIN {
    printf "%6d %8d %10.2f %9.2f %9.2f %8.2f %9.1f %8s  %s\n", n, l, u + s, u, s, (u + s) * 1000 / n, kb / 1024, c, t }'
done
