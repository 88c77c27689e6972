// The species dictionary loader on any SPECDICT.txt: either a clear message
// and a normal stop, or a dictionary whose sorted species index holds every
// entry once, in order, and finds every species number. The dictionary is
// then used: every name is looked up, and a sample of its first species is
// scored against tables without entries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/testing/fakes.h"
#include "engine/names.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "engine/species_index.h"
#include "engine/tables.h"
#include "fuzz/support.h"
#include "fuzz/vegmatch_tables.h"

using veg::fuzz::check;

namespace {

void checkIndex(const engine::Tables& tables, std::size_t records) {
  const engine::Dictionary& dict = tables.dictionary;
  const int n = tables.dict_size;
  check(n == static_cast<int>(records) + 2 && tables.name_count == n, "dictionary size");
  check(dict.species_name[1] == "NEW NAME " && dict.species_name[2] == "DELETE   ",
        "reserved entries");
  std::vector<bool> seen(static_cast<std::size_t>(n) + 1, false);
  for (int m = 1; m <= n; ++m) {
    const int j = dict.sorted_entry[m];
    check(j >= 1 && j <= n && !seen[static_cast<std::size_t>(j)],
          "sorted index holds each entry once");
    seen[static_cast<std::size_t>(j)] = true;
    check(dict.species_number[j] == dict.sorted_species_number[m],
          "sorted index carries its entry");
    check(dict.species_name[j].size() == 9, "9-character names", dict.species_name[j]);
    if (m > 1) {
      const short before = dict.sorted_species_number[m - 1];
      check(before < dict.sorted_species_number[m] ||
                (before == dict.sorted_species_number[m] && dict.sorted_entry[m - 1] < j),
            "sorted by number, then entry");
    }
  }
  for (int j = 1; j <= n; ++j) {
    const int q =
        engine::findFirstSorted(dict.sorted_species_number.data(), n, dict.species_number[j]);
    check(q >= 1 && dict.sorted_species_number[q] == dict.species_number[j] &&
              (q == 1 || dict.sorted_species_number[q - 1] != dict.species_number[j]),
          "findFirstSorted finds the first position of every number");
    check(tables.entry_ranges.first_entry[j] == 0 && tables.entry_ranges.last_entry[j] == 0,
          "links zeroed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = veg::fuzz::fileLines(data, size);
  veg::testing::MemoryFileSystem fs;
  fs.put("SPECDICT.txt", lines);
  veg::fuzz::ScriptConsole console({""}, veg::fuzz::kLoaderScreenWidth);
  engine::Tables* tables = &veg::fuzz::freshTables();
  try {
    engine::loadSpeciesDictionary(console, fs, *tables);
  } catch (const veg::StopRun&) {
    check(console.last() == "*************************", "a stop ends with the notice");
    return 0;
  }
  checkIndex(*tables, lines.size());

  // Names need not be in order for the search to be safe; in order, each
  // is found.
  const engine::Dictionary& dict = tables->dictionary;
  for (int j = 1; j <= tables->dict_size; ++j) {
    const int found =
        engine::findName(dict, tables->dict_size, tables->name_count, dict.species_name[j]);
    check(found >= 0 && found <= tables->name_count, "findName gives an entry or 0");
    if (found != 0) check(dict.species_name[found] == dict.species_name[j], "findName's entry");
  }

  // The dictionary's first species as a sample, against tables with one
  // community and no entries for them.
  tables->n_communities = 1;
  engine::prepareTables(*tables);
  engine::Sample sample;
  for (int j = 3; j <= tables->dict_size && sample.sample_size < engine::kMaxSampleEntries; ++j) {
    ++sample.sample_size;
    sample.sample_species[sample.sample_size] = dict.species_number[j];
    sample.sample_cover[sample.sample_size] = static_cast<short>(j % 101);
    sample.sample_frequency[sample.sample_size] = 1;
  }
  for (int analysis_type = 1; analysis_type <= 5; ++analysis_type)
    engine::scoreCommunities(sample, analysis_type, *tables);
  return 0;
}
