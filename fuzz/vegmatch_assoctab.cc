// The association-table loader on any ASSOCTAB.txt, with the dictionary of
// vegmatch_tables.h and a species-group limit chosen by the input's length:
// either a clear message and a normal stop, or links and entries that the
// scoring can use. The loaded tables are then prepared and a sample of
// every species is scored and ranked under every analysis type.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/testing/fakes.h"
#include "engine/refdata.h"
#include "engine/scoring.h"
#include "engine/tables.h"
#include "fuzz/support.h"
#include "fuzz/vegmatch_tables.h"

using veg::fuzz::check;

namespace {

void checkLinks(const engine::Tables& tables) {
  const int n = tables.n_communities;
  check(n >= 0 && n <= engine::kMaxCommunities, "community count");
  const engine::Dictionary& dict = tables.dictionary;
  for (int j = 1; j <= tables.dict_size; ++j) {
    const int first = tables.entry_ranges.first_entry[j];
    const int last = tables.entry_ranges.last_entry[j];
    if (last != 0 && last >= first) {
      check(first >= 1 && last <= engine::kMaxTableEntries, "entry range within the tables");
      for (int e = first; e <= last; ++e) {
        const int k = tables.entries.entry_community[e];
        const int m = tables.entries.entry_class[e];
        check(k >= 1 && k <= n && m >= 1 && m <= engine::kClassCodes, "entry usable");
      }
    }
    // Every synonym of a species carries the same pair.
    for (int i = 1; i < j; ++i)
      if (dict.species_number[i] == dict.species_number[j] && dict.species_number[j] != 0)
        check(tables.entry_ranges.first_entry[i] == first &&
                  tables.entry_ranges.last_entry[i] == last,
              "synonyms linked alike");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int limits[] = {10000, 4000, 3000};
  const int species_limit = limits[size % 3];
  veg::testing::MemoryFileSystem fs;
  fs.put("SPECDICT.txt", veg::fuzz::kDictionary);
  fs.put("ASSOCTAB.txt", veg::fuzz::fileLines(data, size));
  veg::fuzz::ScriptConsole console({""}, veg::fuzz::kLoaderScreenWidth);
  engine::Tables* tables = &veg::fuzz::freshTables();
  engine::loadSpeciesDictionary(console, fs, *tables);
  try {
    engine::loadAssociationTables(console, fs, species_limit, *tables);
  } catch (const veg::StopRun&) {
    check(console.last() == "*************************", "a stop ends with the notice");
    return 0;
  }
  checkLinks(*tables);

  // The second community, when there is one, begins the woodland.
  if (tables->n_communities >= 2) tables->cross_reference.nvc_code[2] = engine::kFirstWoodlandCode;
  engine::prepareTables(*tables);
  veg::fuzz::scoreAndRank(veg::fuzz::everySpecies(), *tables);
  return 0;
}
