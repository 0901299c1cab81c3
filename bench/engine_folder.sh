# Sourced by the benchmark scripts: a temporary engine folder in $work (removed on exit) holding the files
# of data/ and the built engine, as an install makes it. Needs $top and $build.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$top/data" && find . -path ./src -prune -o -type f -print) | while read -r f; do
  mkdir -p "$work/$(dirname "$f")"
  cp -p "$top/data/$f" "$work/$f"
done
cp "$build/engine/profile" "$work/profile"
