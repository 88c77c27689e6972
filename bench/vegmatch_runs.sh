# What the whole-run benchmarks of vegmatch share; sourced by run_bench.sh
# and startup_bench.sh, not run on its own.

# A new working directory holding the shipped reference files; its name on
# standard output.
veg_workdir() {
  local dir
  dir=$(mktemp -d)
  cp "$top"/data/{SPECDICT,ASSOCTAB,NVCTYPES,HELP}.txt "$dir"/
  echo "$dir"
}

# Writes to FILE a datafile of COUNT samples of 20 to 30 species each (25
# on average), keys drawn from the shipped dictionary, % covers 1..60.
veg_batch_datafile() {
  local file=$1 count=$2
  awk -v samples="$count" 'BEGIN { srand(20261208) }
    { key[n++] = substr($0, 6, 9) }
    END {
      for (s = 1; s <= samples; s++) {
        printf "S%-7d     COVR%%\n", s
        count = 20 + int(rand() * 11)
        for (i = 0; i < count; i++)
          printf " %s  %4d\n", key[int(rand() * n)], 1 + int(rand() * 60)
        print ""
      }
    }' "$top/data/SPECDICT.txt" > "$file"
}

# The keyboard of an unattended datafile run of NAME: title, help offer,
# answers file, datafile input, its name, species groups, scale, analysis
# type, number of communities.
veg_datafile_input() { printf '\n\n\n1\n%s\n\n\n\n\n' "$1"; }

# Runs the vegmatch of build directory BUILD in the working directory on
# its file input (the answers in VEGMOUT.txt, the screen in screen) and
# prints the wall time and the processor time (user and system) in
# seconds. The processor time is that of the program alone, counted by the
# shell in milliseconds.
veg_timed_run() {
  local build=$1 start end
  rm -f VEGMOUT.txt
  times > .times-before
  start=$EPOCHREALTIME
  "$build/vegmatch/vegmatch" < input > screen
  end=$EPOCHREALTIME
  times > .times-after
  awk -v s="$start" -v e="$end" '
    function seconds(t) { split(t, p, "m"); return p[1] * 60 + substr(p[2], 1, length(p[2]) - 1) }
    FNR == 2 { cpu += (FILENAME ~ /after/ ? 1 : -1) * (seconds($1) + seconds($2)) }
    END { printf "%.6f %.3f\n", e - s, cpu }' .times-before .times-after
}

# The median of the numbers on standard input.
veg_median() {
  sort -g | awk '{ t[NR] = $1 } END { print NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}
