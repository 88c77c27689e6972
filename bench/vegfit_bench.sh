#!/usr/bin/env bash
# vegfit on 100 000 quadrats of about 25 species (20 to 30, % covers 1..60)
# from one CSV file, names drawn from the full names and synonyms of the
# shipped names table (data/NAMES.txt), with the shipped reference data.
# Prints the time of each whole run (loading, reading, matching, scoring,
# writing the five best communities of every quadrat), then the best and
# the median, and checks that every quadrat was scored with every name
# identified. Usage: bench/vegfit_bench.sh [build-dir] [quadrats] [runs];
# VEG_DATA=DIR takes the reference data from DIR instead of data/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/vegfit_quadrats.sh"
data=${VEG_DATA:-$top/data}
# The build directory, which may be given relative to where this starts.
build=$(cd "${1:-$top/build}" && pwd)
quadrats=${2:-100000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

veg_quadrats_csv "$quadrats" > "$work/quadrats.csv"
rows=$(($(wc -l < "$work/quadrats.csv") - 1))

times=()
for ((run = 1; run <= runs; run++)); do
  rm -f "$work/fits.csv"
  start=$(date +%s.%N)
  "$build/vegfit/vegfit" --data "$data" -o "$work/fits.csv" "$work/quadrats.csv" 2> "$work/messages"
  end=$(date +%s.%N)
  times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')")
done

# Every quadrat has its best row, and no name went unmatched: the count of
# unmatched names is the last column, or the one before a last column
# status (counted from the end: community and EUNIS names may hold commas).
# The figures by column name; quoted fields (full names hold commas) are
# blanked first, as only numbers and codes are read.
columns='{ gsub(/"[^"]*"/, "q") }
  NR == 1 { for (c = 1; c <= NF; c++) at[$c] = c; next }'
scored=$(awk -F, "$columns"' $at["rank"] == 1 { n++ } END { print n + 0 }' "$work/fits.csv")
unmatched=$(awk -F, "$columns"' $at["rank"] == 1 { u += $at["unmatched"] } END { print u + 0 }' \
  "$work/fits.csv")
printf '%s\n' "${times[@]}" | sort -n | awk -v q="$scored" -v r="$rows" -v u="$unmatched" '
  { t[NR] = $1; all = all (NR > 1 ? " " : "") $1 }
  END {
    median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "%d quadrats (%d rows), %d names unmatched; runs (s, fastest first): %s\n", q, r, u, all
    printf "best %.3f s (%.1f us per quadrat), median %.3f s\n", t[1], t[1] / q * 1e6, median
  }'
if [ "$scored" -ne "$quadrats" ] || [ "$unmatched" -ne 0 ]; then
  echo "not every quadrat was identified with all its names:" >&2
  head -5 "$work/messages" >&2
  exit 1
fi
