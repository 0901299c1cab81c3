#!/usr/bin/env bash
# Builds when needed and installs the engine program and the engine's data files into an engine folder,
# and the front end quorvel into its own folder.
#   scripts/install.sh [ENGINE_FOLDER [FRONTEND_FOLDER]]   (defaults: ~/vlx7000 and ENGINE_FOLDER/quorvel)
# Files that a user edits in the engine folder (the standard SET file, the console colours, the user
# vocabularies) are copied only when missing, so that a second install loses nothing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$HOME/vlx7000}
frontend=${2:-$dest/quorvel}
build=${BUILD_DIR:-$top/build}

# Only the two programs (not the tests); the build shows its progress.
BUILD_TARGETS="profile quorvel" "$top/scripts/build.sh"

mkdir -p "$dest"
keep='^(STANDARD\.SET|procolor\.cus|usercat\.dat|userprov\.dat|userconv\.dat)$'
(cd "$top/data" && find . -path ./src -prune -o -type f -print) | while read -r f; do
  f=${f#./}
  mkdir -p "$dest/$(dirname "$f")"
  if [[ $(basename "$f") =~ $keep ]] && [ -e "$dest/$f" ]; then continue; fi
  cp -p "$top/data/$f" "$dest/$f"
done
install -m 0755 "$build/engine/profile" "$dest/profile"
mkdir -p "$frontend"
install -m 0755 "$build/frontend/main/quorvel" "$frontend/quorvel"
cp -p "$top/frontend/dict/English.DIC" "$top/frontend/dict/English.DIC.copyright" "$frontend/"
mkdir -p "$frontend/help"
cp -p "$top"/frontend/help/*.htm "$frontend/help/"
echo "installed into $dest (front end: $frontend/quorvel)"
