#!/usr/bin/env bash
# Whole-run benchmark of decksave: a sample file of 5000 samples of 25
# species each, drawn from the shipped dictionary, with whole and one-decimal
# values, converted into a Cornell condensed file. Prints the whole-run time.
# Usage: bench/decksave_bench.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The build directory, which may be given relative to where this starts.
build=$(cd "${1:-$top/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v samples=5000 -v species=25 'BEGIN { srand(20260902) }
  { key[n++] = substr($0, 6, 9) }
  END {
    for (s = 1; s <= samples; s++) {
      printf "S%-7d     COVR%%\n", s
      for (i = 0; i < species; i++) {
        k = key[int(rand() * n)]
        if (rand() < 0.5) printf " %s  %4d\n", k, 1 + int(rand() * 60)
        else printf " %s  %6.1f\n", k, 0.1 + int(rand() * 600) / 10
      }
      print ""
    }
  }' "$top/data/SPECDICT.txt" > "$work/SAMP.txt"

printf '\n\n\n' > "$work/input"
cd "$work"
start=$(date +%s.%N)
"$build/decksave/decksave" < input > screen
end=$(date +%s.%N)
lines=$(wc -l < CORNELL.txt)
awk -v s="$start" -v e="$end" -v n="$lines" 'BEGIN {
  printf "5000 samples of 25 species converted in %.3f s (%d Cornell lines)\n", e - s, n }'
