#!/usr/bin/env bash
# Runs a command on a virtual X screen of its own with a window manager (openbox), as on a desktop:
# windows get frames and title bars, and the window manager places, raises and focuses them.
#   scripts/xvfb-wm.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
# The command's exit code is the script's. The display is free again when the script ends.
set -euo pipefail
size=$1
shift
work=$(mktemp -d)
xvfb= wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# The window manager has taken the screen once the root window names its check window.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
"$@"
