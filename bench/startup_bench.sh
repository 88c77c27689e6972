#!/usr/bin/env bash
# Two builds of vegmatch compared, runs of one and of the other taking
# turns so that both meet the same load: start-up (a datafile run of one
# sample, the first quadrat of data/examples/quadrats.txt, the whole
# process timed; 20 runs each by default) and the batch of run_bench.sh
# (9999 samples; 5 runs each). Prints the median wall time and the mean
# processor time of each build, and checks that both builds write the
# same screens and answers files, byte for byte.
# Usage: bench/startup_bench.sh OLD_BUILD NEW_BUILD [start-up runs] [batch runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/vegmatch_runs.sh"
[ $# -ge 2 ] || { echo "usage: $0 OLD_BUILD NEW_BUILD [start-up runs] [batch runs]" >&2; exit 2; }
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
startup_runs=${3:-20}
batch_runs=${4:-5}
work=$(veg_workdir)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Runs both builds `runs` times in turn on the datafile NAME; prints what
# was measured and fails when the two builds' outputs differ.
compare() {
  local what=$1 name=$2 runs=$3 build label i
  veg_datafile_input "$name" > input
  : > times.old
  : > times.new
  for ((i = 1; i <= runs; i++)); do
    for label in old new; do
      build=$old
      [ "$label" = new ] && build=$new
      veg_timed_run "$build" >> "times.$label"
      if [ "$i" -eq 1 ]; then
        mv VEGMOUT.txt "answers.$label"
        mv screen "screen.$label"
      fi
    done
  done
  for label in old new; do
    awk -v what="$what" -v label="$label" -v median="$(cut -d' ' -f1 "times.$label" | veg_median)" '
      { cpu += $2 }
      END { printf "%-22s %s: median %8.3f ms wall, mean %8.3f ms processor (%d runs)\n",
                   what, label, median * 1000, cpu / NR * 1000, NR }' "times.$label"
  done
  if cmp -s answers.old answers.new && cmp -s screen.old screen.new; then
    echo "$what: answers files ($(wc -c < answers.new) bytes) and screens identical"
  else
    echo "$what: the two builds' answers files or screens differ" >&2
    exit 1
  fi
}

# The first sample of the example quadrats: its header line, its species
# lines and the empty line that ends it.
awk '{ print } /^$/ { exit }' "$top/data/examples/quadrats.txt" > ONE.txt
compare "one-sample run" ONE.txt "$startup_runs"
veg_batch_datafile BENCH.txt 9999
compare "9999-sample run" BENCH.txt "$batch_runs"
