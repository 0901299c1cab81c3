#!/usr/bin/env bash
# Runs the engine once on the shipped example input, as the front end would, and says what the run
# made and where. The first run installs the system packages and builds the programs (minutes).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
ef=$HOME/vlx7000

echo "== 1/4 system packages (installs the missing ones with apt-get)"
"$top/scripts/bootstrap.sh"
echo "== 2/4 building the engine and the front end (the first build takes minutes)"
BUILD_TARGETS="profile quorvel" "$top/scripts/build.sh"
echo "== 3/4 installing them into $ef"
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
log_lines=$( (cat ERROR.LOG 2>/dev/null || true) | wc -l)
stamp=$(mktemp)
trap 'rm -f "$stamp"' EXIT
echo "== 4/4 running the engine on $input"
set +e
./profile @runfile.dat </dev/null
rc=$?
set -e

echo
echo "== what the run made"
mapfile -t coded < <(find "$ef" -maxdepth 1 -iname '*.trx' -newer "$stamp" -printf '%f\n' | sort)
if ((${#coded[@]})); then
  echo "coded hole files: ${#coded[@]} in $ef (${coded[*]})"
else
  echo "coded hole files: none"
fi
if [ -f "$out/Examples.PDF" ] && [ "$out/Examples.PDF" -nt "$stamp" ]; then
  echo "sheets:           $out/Examples.PDF"
else
  echo "sheets:           none yet ($out/Examples.PDF is made once the engine draws sheets)"
fi
new_log_lines=$(( $( (cat ERROR.LOG 2>/dev/null || true) | wc -l) - log_lines ))
if ((new_log_lines > 0)); then
  echo "error log:        $ef/ERROR.LOG ($new_log_lines new lines)"
fi
case $rc in
  0) ;;
  1) echo "exit code 1: the run left something undone; the lines above and $ef/ERROR.LOG say what" ;;
  255) echo "exit code 255: the engine stopped at an error it could not go on from; see $ef/ERROR.LOG" ;;
  *) if ((rc > 128)); then
       echo "exit code $rc: the engine was ended by signal $((rc - 128)) ($(kill -l $((rc - 128)) 2>/dev/null || echo unknown))"
     else
       echo "exit code $rc: not one of the engine's own codes (0 done, 1 something undone, 255 stopped at an error)"
     fi ;;
esac
exit "$rc"
