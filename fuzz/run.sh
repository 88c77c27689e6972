#!/usr/bin/env bash
# Runs fuzz targets with libFuzzer:  fuzz/run.sh TARGET|all SECONDS
#
# Builds the targets with clang++ in build-fuzz/ (or $VEG_FUZZ_BUILD) when
# needed, then runs each for SECONDS seconds on a copy of its seed corpus
# fuzz/corpus/TARGET/ (new inputs stay in the build directory, never in the
# source tree) and prints the executions run. A finding stops the target;
# its input is kept as build-fuzz/fuzz/findings/TARGET/crash-... (or
# timeout-..., leak-..., oom-...) and the script exits with status 1 after
# the remaining targets have run. `all` runs every target that has a corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 2 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh TARGET|all SECONDS" >&2
  exit 2
fi
seconds=$2
build=${VEG_FUZZ_BUILD:-build-fuzz}

if [ "$1" = all ]; then
  targets=()
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
else
  [ -d "fuzz/corpus/$1" ] || { echo "no target $1 (no fuzz/corpus/$1)" >&2; exit 2; }
  targets=("$1")
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=${CXX_FUZZ:-clang++} cmake -S . -B "$build" -DVEG_FUZZ=ON -DVEG_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

# A smaller quarantine than AddressSanitizer's 256 MiB: freed memory is
# reused sooner, so a target's run does not keep touching fresh pages (the
# use-after-free checks still hold for the 16 MiB freed last).
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

status=0
for target in "${targets[@]}"; do
  work="$build/fuzz/work/$target"
  findings="$build/fuzz/findings/$target"
  mkdir -p "$work" "$findings"
  log="$build/fuzz/$target.log"
  # -timeout: an input taking over 10 s is a hang. -max_len: room for a
  # datafile of several hundred lines. The seeds are read, not written to.
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    result="no findings"
  else
    result="FINDING, see $log and $findings/"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "$target: ${runs:-?} executions in ${seconds} s, $result"
done
exit $status
