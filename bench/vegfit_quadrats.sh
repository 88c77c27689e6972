# What the vegfit benchmarks share; sourced by vegfit_bench.sh and
# report_bench.sh, not run on its own.

# Writes to standard output a CSV of COUNT quadrats of 20 to 30 species
# each, % covers 1..60, the names drawn (a deterministic draw: awk's
# generator with a fixed seed) from the names of data/NAMES.txt that stand
# for one species, quoted where they hold a comma.
veg_quadrats_csv() {
  awk -v quadrats="$1" 'BEGIN { srand(20261209) }
    length($0) > 15 { records[substr($0, 16)]++; order[m++] = substr($0, 16) }
    END {
      for (i = 0; i < m; i++)
        if (records[order[i]] == 1)
          name[n++] = index(order[i], ",") ? "\"" order[i] "\"" : order[i]
      print "sample,species,cover"
      for (q = 1; q <= quadrats; q++) {
        count = 20 + int(rand() * 11)
        for (i = 0; i < count; i++)
          printf "Q%06d,%s,%d\n", q, name[int(rand() * n)], 1 + int(rand() * 60)
      }
    }' "$top/data/NAMES.txt"
}
