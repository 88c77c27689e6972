#!/usr/bin/env bash
# Whole-run benchmark: a datafile of 9999 samples of about 25 species drawn
# from the shipped dictionary, run through the built vegmatch with the
# shipped reference data, start-up included. Prints the whole-run time and
# the time per sample. Usage: bench/run_bench.sh [build-dir]
# (bench/startup_bench.sh compares two builds on this run and on start-up.)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/vegmatch_runs.sh"
# The build directory, which may be given relative to where this starts.
build=$(cd "${1:-$top/build}" && pwd)
work=$(veg_workdir)
trap 'rm -rf "$work"' EXIT

veg_batch_datafile "$work/BENCH.txt" 9999
veg_datafile_input BENCH.txt > "$work/input"
cd "$work"
t=$(veg_timed_run "$build" | cut -d' ' -f1)
reported=$(grep -c '^ Sample ' VEGMOUT.txt)
awk -v t="$t" -v n="$reported" 'BEGIN {
  printf "%d samples scored and reported in %.3f s (%.1f us per sample, start-up included)\n",
         n, t, t / n * 1e6 }'
