#!/usr/bin/env bash
# A restart of the front end on a smaller screen and at a scale factor: the window tests' first half
# leaves every window big at the right edge of a 1600x1000 screen; the second half starts again with the
# same settings file on 1024x768, then at QT_SCALE_FACTOR=2, and finds every window inside the screen.
#   desktop_restart.sh TOP_SOURCE_FOLDER TEST_PROGRAM
set -euo pipefail
top=$1 program=$2
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb
run() {
  local size=$1 half=$2
  shift 2
  QUORVEL_RESTART=$half "$top/scripts/xvfb-wm.sh" "$size" "$program" --gtest_filter='Desktop.Restart*' "$@"
}
run 1600x1000 save
cp "$config/quorvel/quorvel.ini" "$config/saved.ini"
QUORVEL_SHOT_NAME=small run 1024x768 fit
cp "$config/saved.ini" "$config/quorvel/quorvel.ini"
QUORVEL_SHOT_NAME=scale2 QT_SCALE_FACTOR=2 run 1600x1000 fit
