#!/usr/bin/env bash
# Whole-run benchmark: a datafile of 9999 samples of about 25 species drawn
# from the shipped dictionary, run through the built vegmatch with the
# shipped reference data, start-up included. Prints the whole-run time and
# the time per sample. Usage: bench/run_bench.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The build directory, which may be given relative to where this starts.
build=$(cd "${1:-$top/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top"/data/{SPECDICT,ASSOCTAB,NVCTYPES,HELP}.txt "$work"/

# Samples: 20 to 30 species each (25 on average) with % covers 1..60.
awk -v samples=9999 'BEGIN { srand(20261208) }
  { key[n++] = substr($0, 6, 9) }
  END {
    for (s = 1; s <= samples; s++) {
      printf "S%-7d     COVR%%\n", s
      count = 20 + int(rand() * 11)
      for (i = 0; i < count; i++)
        printf " %s  %4d\n", key[int(rand() * n)], 1 + int(rand() * 60)
      print ""
    }
  }' "$work/SPECDICT.txt" > "$work/BENCH.txt"

# Title, help offer, answers file, datafile input, its name, species groups,
# scale, analysis type, number of communities.
printf '\n\n\n1\nBENCH.txt\n\n\n\n\n' > "$work/input"
cd "$work"
start=$(date +%s.%N)
"$build/vegmatch/vegmatch" < input > screen
end=$(date +%s.%N)
reported=$(grep -c '^ Sample ' VEGMOUT.txt)
awk -v s="$start" -v e="$end" -v n="$reported" 'BEGIN {
  t = e - s
  printf "%d samples scored and reported in %.3f s (%.1f us per sample, start-up included)\n",
         n, t, t / n * 1e6 }'
