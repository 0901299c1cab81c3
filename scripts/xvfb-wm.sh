#!/usr/bin/env bash
# Runs a command on a virtual X screen of its own with a window manager (openbox), as on a desktop:
# windows get frames and title bars, and the window manager places, raises and focuses them.
#   scripts/xvfb-wm.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
# The command's exit code is the script's. The display is free again when the script ends. The window
# manager's process id is in XVFB_WM_PID, for a test that holds the window manager up (SIGSTOP) to see
# what a window does when it is framed late.
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
# Every wait below ends as soon as what it waits for is there, and fails with a message after 60 s: a
# loaded machine may take long to start a server, never that long.
deadline() { echo $((SECONDS + 60)); }
# -noreset: without it the server resets whenever its last client leaves, and a first look with xprop
# that ends before openbox has connected would make openbox's connection fail ("Failed to open the display").
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
limit=$(deadline)
until [ -s "$work/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  [ "$SECONDS" -lt "$limit" ] || { echo "xvfb-wm.sh: Xvfb named no display in 60 s" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# The window manager has taken the screen once the root window names its check window, that window names
# the window manager, and the root window lists the frame extents among what it supports (the programs
# learn their windows' frames from them).
wm_ready() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-fA-F]*') || return 1
  xprop -id "$id" _NET_WM_NAME 2>/dev/null | grep -q '=' || return 1
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS
}
limit=$(deadline)
until wm_ready; do
  kill -0 "$wm" 2>/dev/null || { echo "xvfb-wm.sh: openbox ended" >&2; cat "$work/openbox.log" >&2; exit 1; }
  [ "$SECONDS" -lt "$limit" ] || { echo "xvfb-wm.sh: no window manager in 60 s" >&2; cat "$work/openbox.log" >&2; exit 1; }
  sleep 0.05
done
export XVFB_WM_PID=$wm
"$@"
