#!/usr/bin/env bash
# Whole-run benchmark of deckload: a generated Cornell condensed file at the
# name-line capacity (1000 species and 4000 samples of 40 couplets, 500 name
# lines, about 23 000 data lines) converted by the built program, from start
# to end. Prints the whole-run time. Usage: bench/deckload_bench.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The build directory, which may be given relative to where this starts.
build=$(cd "${1:-$top/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each sample holds 40 distinct species drawn at random, written 7 couplets
# to a line in the reference layout, values 0.1 to 99.9 with one decimal.
awk -v species=1000 -v samples=4000 -v per=40 'BEGIN {
    srand(20261209)
    print "BENCHMARK FILE AT CAPACITY"
    printf "%-68s%2d\n", "(i4,2x,7(i5,f5.1))", 7
    for (m = 1; m <= samples; m++) {
      split("", taken)
      line = sprintf("%4d  ", m); n = 0
      for (i = 0; i < per; i++) {
        do { s = 1 + int(rand() * species) } while (s in taken)
        taken[s] = 1
        line = line sprintf("%5d%5.1f", s, (1 + int(rand() * 999)) / 10)
        if (++n == 7) { print line; line = sprintf("%4d  ", m); n = 0 }
      }
      if (n > 0) print line
    }
    print "   0"
    for (c = 0; c < species / 10; c++) {
      line = ""
      for (i = 1; i <= 10; i++) line = line sprintf("Sp%06d", c * 10 + i)
      print line
    }
    for (c = 0; c < samples / 10; c++) {
      line = ""
      for (i = 1; i <= 10; i++) line = line sprintf("Q%07d", c * 10 + i)
      print line
    }
  }' > "$work/CORNELL.txt"

# The two file names by default, then RETURN at the end-of-program notice.
printf '\n\n\n' > "$work/input"
cd "$work"
lines=$(wc -l < CORNELL.txt)
# Wall time, and the processor time of the run (the machine may be shared).
TIMEFORMAT='%R %U %S'
times=$( { time "$build/deckload/deckload" < input > screen; } 2>&1 )
written=$(grep -c '^Q' SAMP.txt || true)
read -r real user sys <<< "$times"
awk -v r="$real" -v u="$user" -v s="$sys" -v n="$written" -v l="$lines" 'BEGIN {
  printf "%d-line Cornell file, %d samples written in %.3f s (%.3f s processor time)\n",
         l, n, r, u + s }'
