#!/usr/bin/env bash
# vegfit --format html on 1 000 quadrats of about 25 species (20 to 30, %
# covers 1..60), names drawn from the shipped names table as
# bench/vegfit_bench.sh draws them: the whole run (loading, reading,
# scoring every result with its explanations, the report), timed, with the
# report's size. Prints each run, then the best and the median time and the
# size in MB. Usage: bench/report_bench.sh [build-dir] [quadrats] [runs];
# VEG_DATA=DIR takes the reference data from DIR instead of data/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/vegfit_quadrats.sh"
data=${VEG_DATA:-$top/data}
build=$(cd "${1:-$top/build}" && pwd)
quadrats=${2:-1000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

veg_quadrats_csv "$quadrats" > "$work/quadrats.csv"

times=()
for ((run = 1; run <= runs; run++)); do
  rm -f "$work/report.html"
  start=$(date +%s.%N)
  "$build/vegfit/vegfit" --data "$data" --format html -o "$work/report.html" "$work/quadrats.csv" \
    2> "$work/messages"
  end=$(date +%s.%N)
  times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')")
done

pages=$(grep -o '<section class="pg" id="s[0-9]*"' "$work/report.html" | wc -l)
bytes=$(wc -c < "$work/report.html")
printf '%s\n' "${times[@]}" | sort -n | awk -v q="$quadrats" -v p="$pages" -v b="$bytes" '
  { t[NR] = $1; all = all (NR > 1 ? " " : "") $1 }
  END {
    median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "%d quadrats, %d sample pages; runs (s, fastest first): %s\n", q, p, all
    printf "best %.3f s, median %.3f s; report %.2f MB (%d bytes, %.1f KB per quadrat)\n",
      t[1], median, b / 1e6, b, b / q / 1e3
  }'
if [ "$pages" -ne "$quadrats" ]; then
  echo "the report has $pages sample pages for $quadrats quadrats" >&2
  exit 1
fi
