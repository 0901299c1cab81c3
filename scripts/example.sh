#!/usr/bin/env bash
# Runs the engine once on the shipped example input, as the front end would, and says where the
# results are.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
ef=$HOME/vlx7000
"$top/scripts/bootstrap.sh"
"$top/scripts/install.sh" "$ef"

input="$ef/Examples/Examples.TXT"
out="$HOME/VLXFILES"
mkdir -p "$out"
cd "$ef"
# The run file, byte for byte as the front end writes it.
printf '%s\r\n' \
  "0/   setupfile = STANDARD.SET" \
  "1/   inputfile = $input" \
  "2/      output = PDF" \
  "3/    holelist = ALL" \
  "4/    activity = 0" \
  "5/ output-addr = $out/" \
  "6/       scale = " \
  "7/     summary = YES" \
  "8/  targetcopy = $out/Examples.PDF" >@runfile.dat
set +e
./profile @runfile.dat </dev/null
rc=$?
set -e
echo
echo "engine exit code: $rc"
echo "engine folder:    $ef"
[ -f "$ef/ERROR.LOG" ] && echo "error log:        $ef/ERROR.LOG"
if [ -f "$out/Examples.PDF" ]; then
  echo "result:           $out/Examples.PDF"
else
  echo "no result file yet: $out/Examples.PDF was not made"
fi
exit "$rc"
