#!/usr/bin/env bash
# Draws borehole BH2 of the shipped example (a profile sheet and its borehole-log page) and saves the two
# pages side by side as a PNG: the README's picture, docs/example-sheet.png.
#   scripts/picture.sh [OUT.png]       (default: docs/example-sheet.png)
# The engine is the program PROFILE names, else build/engine/profile (built when missing). It runs in a
# temporary engine folder made from data/, its drive C inside that folder, so nothing is written
# into the home folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/docs/example-sheet.png}")
dpi=60   # two A4 pages of 496 x 702 pixels: readable headings, a file of about 100 KB

profile=${PROFILE:-}
if [ -z "$profile" ]; then
  profile=${BUILD_DIR:-$top/build}/engine/profile
  [ -x "$profile" ] || BUILD_TARGETS=profile "$top/scripts/build.sh"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ef=$work/vlx7000
cp -r "$top/data" "$ef"
rm -rf "$ef/src"
cp "$profile" "$ef/profile"
printf '%s\r\n' \
  "0/   setupfile = STANDARD.SET" \
  "1/   inputfile = Examples\\Examples.TXT" \
  "2/      output = PDF" \
  "3/    holelist = BH2" \
  "4/    activity = 0" >"$ef/@runfile.dat"
(cd "$ef" && VLX_DRIVE_C=$work ./profile @runfile.dat </dev/null >"$work/run.log" 2>&1) || {
  cat "$work/run.log" >&2
  echo "picture: the engine run failed" >&2
  exit 1
}

sheet=$work/VLXFILES/GE2631/BH2.pdf
pages=$(pdfinfo "$sheet" | awk '/^Pages:/ { print $2 }')
if [ "$pages" != 2 ]; then
  echo "picture: $sheet has $pages pages, not the profile sheet and its log page" >&2
  exit 1
fi
pdftoppm -r "$dpi" "$sheet" "$work/page"   # page-1.ppm, page-2.ppm
# Each page in a thin black frame (the paper's edge), 12 pixels apart.
for p in 1 2; do pnmpad -black -left=1 -right=1 -top=1 -bottom=1 "$work/page-$p.ppm" >"$work/framed-$p.ppm"; done
ppmmake white 12 "$(pnmfile "$work/framed-1.ppm" | awk '{ print $6 }')" >"$work/gap.ppm"
pnmcat -lr -jtop "$work/framed-1.ppm" "$work/gap.ppm" "$work/framed-2.ppm" | pnmtopng -compression 9 >"$work/sheet.png"
mkdir -p "$(dirname "$out")"
mv "$work/sheet.png" "$out"
echo "picture saved in $out ($(pngtopnm "$out" | pnmfile | sed 's/^[^,]*, //'))"
