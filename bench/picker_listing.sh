#!/usr/bin/env bash
# Benchmark of the console file picker on a large folder: the engine runs in a tmux pane of 80 x 25, the
# picker takes the remembered folder C:\many (100,000 files) and lists it; the time from the Enter that
# confirms the folder to the first listed name on the screen is printed (the best of RUNS).
#   bench/picker_listing.sh [RUNS] [FILES]     (default: 3 runs, 100000 files)
# Needs tmux and a build (BUILD_DIR, default build/). The screen is read every 10 ms, so figures below
# about 20 ms are at the resolution of the reading.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
runs=${1:-3}
files=${2:-100000}
command -v tmux >/dev/null || { echo "picker_listing: tmux is not installed" >&2; exit 1; }
# shellcheck source=bench/engine_folder.sh
. "$top/bench/engine_folder.sh"
sock="$work/tmux.sock"
trap 'tmux -S "$sock" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/drive_c/many"
(cd "$work/drive_c/many" && seq -f 'f%06g.txt' 1 "$files" | xargs touch)
echo "picker_listing: $(find "$work/drive_c/many" -type f | wc -l) files in C:\\many"

wait_screen() {  # text, timeout in tenths of a second
  local n=0
  until tmux -S "$sock" capture-pane -p | grep -qF -- "$1"; do
    sleep 0.01
    n=$((n + 1))
    ((n < $2 * 10)) || { echo "picker_listing: no \"$1\" on the screen" >&2; tmux -S "$sock" capture-pane -p >&2; exit 1; }
  done
}

best=
for ((r = 1; r <= runs; r++)); do
  printf 'C:\\many\r\n' >"$work/memofile"
  tmux -S "$sock" new-session -d -x 80 -y 25 -c "$work" "VLX_DRIVE_C=$work/drive_c ./profile"
  wait_screen "Editor" 300
  tmux -S "$sock" send-keys F1
  wait_screen "SELECT [drive:" 300
  tmux -S "$sock" send-keys Enter
  wait_screen "Filemask = C:\\many" 300
  start=$(date +%s%N)
  tmux -S "$sock" send-keys Enter
  wait_screen "C:\\many\\f" 300
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  echo "run $r: ${ms} ms"
  if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
  tmux -S "$sock" kill-server 2>/dev/null || true
  sleep 0.2
done
echo "picker_listing: first names of a folder of $files files on the screen after ${best} ms (best of $runs)"
