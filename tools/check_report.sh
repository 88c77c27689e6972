#!/usr/bin/env bash
# The HTML report of the example surveys as a browser shows it: vegfit
# writes the report of data/examples/quadrats.txt, and of the Newborough
# Warren visits and stands of data/examples/newborough_slack4.csv; each
# must parse as HTML without an error (html5lib), and headless Chromium
# must build a DOM holding the front page, the overview and one page per
# sample with the best community and fit that vegfit's CSV gives
# (--dump-dom), draw a picture that is not blank (--screenshot), and print
# it on A4 one sample to a page after the front matter, each stand from a
# page of its own (--print-to-pdf, pdfinfo, pdftotext). Needs chromium, poppler-utils and python3-html5lib:
# a missing one is a failure, never a skip.
# Usage: tools/check_report.sh [build-dir] [screenshot.png]; with a second
# argument the screenshot of the example's fourth sample page is kept there
# (docs/report-page.png is made so). VEG_DATA=DIR: other reference data.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
keep=${2:-}
data=${VEG_DATA:-$top/data}
vegfit="$build/vegfit/vegfit"
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in chromium pdfinfo pdftotext "$python"; do
  command -v "$tool" >/dev/null || { echo "check_report: $tool is missing" >&2; exit 1; }
done
"$python" -c 'import html5lib' || { echo "check_report: python3-html5lib is missing" >&2; exit 1; }

# Headless Chromium, as root too; its own profile, its chatter in a log.
browser() {
  chromium --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --hide-scrollbars \
    --user-data-dir="$work/profile" "$@" 2>> "$work/chromium.log"
}

# report NAME KIND FILE OPTIONS...: the report, its DOM, its pages on A4
# and the best rows.
report() {
  local name=$1 kind=$2 input=$3
  shift 3
  "$vegfit" --data "$data" "$@" --format html -o "$work/$name.html" "$input" 2> "$work/$name.messages"
  "$vegfit" --data "$data" "$@" --top 1 -o "$work/$name.csv" "$input" 2> /dev/null
  "$python" "$top/tools/check_report.py" parse "$work/$name.html"
  browser --dump-dom "file://$work/$name.html" > "$work/$name.dom.html"
  "$python" "$top/tools/check_report.py" dom "$work/$name.dom.html" "$work/$name.csv" "$kind"
  browser --no-pdf-header-footer --print-to-pdf="$work/$name.pdf" "file://$work/$name.html" \
    > /dev/null
  "$python" "$top/tools/check_report.py" pdf "$work/$name.pdf" "$work/$name.csv" "$kind"
}

report quadrats sample "$top/data/examples/quadrats.txt"
# The screenshot of a sample's page: the report in a frame scrolled to it.
printf '<!DOCTYPE html><html><body style="margin:0"><iframe src="quadrats.html#s4" style="border:0;width:100vw;height:100vh"></iframe></body></html>\n' \
  > "$work/page.html"
browser --window-size=900,1200 --screenshot="$work/page.png" "file://$work/page.html" > /dev/null
"$python" "$top/tools/check_report.py" png "$work/page.png"

visits=(--sample-column Site,Year,Group,Quadrat)
report visits sample "$top/data/examples/newborough_slack4.csv" "${visits[@]}"
grep -q 'Best communities by Site and Year' "$work/visits.dom.html" ||
  { echo "check_report: no chart by site and year" >&2; exit 1; }
report stands stand "$top/data/examples/newborough_slack4.csv" "${visits[@]}" --group-by Site,Year

if [ -n "$keep" ]; then cp "$work/page.png" "$keep"; fi
echo "check_report: the reports read, draw and print as they should"
