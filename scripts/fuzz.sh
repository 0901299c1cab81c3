#!/usr/bin/env bash
# Runs every fuzz harness of tests/fuzz for SECONDS seconds (default 60) with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, FUZZ_JOBS harnesses at a time (default: all).
#
# Builds with clang in build-fuzz/ (FUZZ_BUILD_DIR). Each harness starts from its seed corpus
# tests/fuzz/corpus/NAME (read only) and keeps the inputs it adds in build-fuzz/corpus/NAME, so that a
# later run goes on from there. A finding (crash, sanitizer report, untrapped error, endless input) is
# written to build-fuzz/findings/NAME/ with libFuzzer's log beside it; copy it into the seed corpus once
# it is mended, so that CI replays it. Prints one line per harness (executions, coverage, corpus size,
# findings) and ends with 1 when anything was found.
#
#   scripts/fuzz.sh 600            ten minutes per harness, all at once
#   FUZZ_JOBS=2 scripts/fuzz.sh 60 two at a time
#   scripts/fuzz.sh 60 prompts     only the named harnesses
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD_DIR:-$top/build-fuzz}

command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/bootstrap.sh installs it)" >&2; exit 2; }

all=$(sed -n 's/^set(VLX_FUZZ_HARNESSES \(.*\))$/\1/p' "$top/tests/fuzz/CMakeLists.txt")
harnesses=${*:-$all}
jobs=${FUZZ_JOBS:-$(wc -w <<<"$harnesses")}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVLX_SANITIZE=ON -DVLX_FUZZ=ON >/dev/null
fi
targets=()
for h in $harnesses; do targets+=("fuzz_$h"); done
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

run_one() {
  local h=$1
  mkdir -p "$build/corpus/$h" "$build/findings/$h"
  # A single input that runs for 20 s or needs 2 GB is a finding too (an endless loop, a runaway table).
  "$build/tests/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$h/" "$build/corpus/$h" "$top/tests/fuzz/corpus/$h" \
    >"$build/findings/$h/log.txt" 2>&1 || true
}

running=0
for h in $harnesses; do
  run_one "$h" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

status=0
printf '%-11s %12s %8s %8s %8s %s\n' harness executions exec/s coverage corpus findings
for h in $harnesses; do
  log="$build/findings/$h/log.txt"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  corpus=$(find "$build/corpus/$h" -type f | wc -l)
  found=$(find "$build/findings/$h" -type f ! -name log.txt | wc -l)
  printf '%-11s %12s %8s %8s %8s %s\n' "$h" "${execs:-?}" "${rate:-?}" "${cov:-?}" "$corpus" "$found"
  if [ "$found" -gt 0 ]; then status=1; fi
done
exit $status
