#!/usr/bin/env bash
# Starts the front end under a virtual X server with a fresh home folder whose vlx7000 holds an
# installed engine, waits, and saves the screen as a PNG, for a person to look at.
#   scripts/screenshot.sh [OUT.png] [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-screenshot.png}")
wait=${2:-3}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home "$top/scripts/install.sh" "$home/vlx7000" >/dev/null
export HOME=$home XDG_CONFIG_HOME=$home/.config
xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
  "$1/vlx7000/quorvel/quorvel" & pid=$!
  sleep "$2"
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$3"
  kill "$pid"' _ "$home" "$wait" "$out"
echo "screen saved in $out"
