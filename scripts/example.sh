#!/usr/bin/env bash
# Runs the engine once on the shipped example input, as the front end would, and says what the run
# made and where. The first run installs the system packages and builds the two programs in build/,
# configured as the first pass of scripts/test.sh configures it, so that the test command afterwards
# builds only the tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
ef=$HOME/vlx7000

echo "== 1/4 system packages (installs the missing ones with apt-get)"
"$top/scripts/bootstrap.sh"
echo "== 2/4 building the engine and the front end (the first build takes a while: see the README)"
BUILD_TARGETS="profile quorvel" "$top/scripts/build.sh"
echo "== 3/4 installing them into $ef"
"$top/scripts/install.sh" "$ef"

input="$ef/Examples/Examples.TXT"
# STANDARD.SET prints to C:\VLXFILES, the folder VLXFILES in the home folder (or in VLX_DRIVE_C).
out="${VLX_DRIVE_C:-$HOME}/VLXFILES"
target="$out/Examples.PDF"
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
  "8/  targetcopy = $target" >@runfile.dat
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
# The job folder: the folder under VLXFILES named after the job number, where the run put its PDFs.
mapfile -t made < <(find "$out" -mindepth 2 -maxdepth 2 -type f -iname '*.pdf' -newer "$stamp" | sort)
if ((${#made[@]})); then
  job=$(dirname "${made[0]}")
  holes=()
  for f in "${made[@]}"; do
    case $(basename "$f") in LEGEND.pdf | combined.pdf) ;; *) holes+=("$(basename "$f")") ;; esac
  done
  echo "Job folder:         $job"
  echo "  one PDF per hole: ${holes[*]}"
  [ -f "$job/LEGEND.pdf" ] && echo "  LEGEND.pdf:       the legend page of the soil symbols the sheets use"
  [ -f "$job/combined.pdf" ] && echo "  combined.pdf:     every sheet of the run, and the legend, in one file"
  if [ -f "$target" ] && [ "$target" -nt "$stamp" ]; then
    echo "Target:             $target (a copy of combined.pdf, the file the front end opens)"
  fi
  echo "Open them with a PDF reader, for example: xdg-open $job/combined.pdf"
else
  echo "No sheet was made: the lines above and $ef/ERROR.LOG say why."
fi
new_log_lines=$(( $( (cat ERROR.LOG 2>/dev/null || true) | wc -l) - log_lines ))
if ((new_log_lines > 0)); then
  echo "Error log:          $ef/ERROR.LOG ($new_log_lines new lines)"
fi
case $rc in
  0) ;;
  1) echo "Exit code 1: something the run was asked for was not made; the lines above and $ef/ERROR.LOG say what." ;;
  *) if ((rc > 128)); then
       echo "Exit code $rc: the engine was ended by signal $((rc - 128)) ($(kill -l $((rc - 128)) 2>/dev/null || echo unknown))."
     else
       echo "Exit code $rc: the engine stopped before the end of the run; $ef/ERROR.LOG says where."
     fi ;;
esac
exit "$rc"
