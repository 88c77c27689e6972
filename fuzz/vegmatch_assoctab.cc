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
#include "fuzz/support.h"
#include "fuzz/vegmatch_tables.h"
#include "vegmatch/blocks.h"
#include "vegmatch/fit.h"
#include "vegmatch/refdata.h"

using veg::fuzz::check;

namespace {

void checkLinks(const vegmatch::Tables& tables) {
  const int n = tables.n_communities;
  check(n >= 0 && n <= vegmatch::kMaxCommunities, "community count");
  const vegmatch::calc1& dict = tables.calc1;
  for (int j = 1; j <= tables.dict_size; ++j) {
    const int first = tables.ccalc1.first_entry[j];
    const int last = tables.ccalc1.last_entry[j];
    if (last != 0 && last >= first) {
      check(first >= 1 && last <= vegmatch::kMaxTableEntries, "entry range within the tables");
      for (int e = first; e <= last; ++e) {
        const int k = tables.dat1.entry_community[e];
        const int m = tables.dat3.entry_class[e];
        check(k >= 1 && k <= n && m >= 1 && m <= vegmatch::kClassCodes, "entry usable");
      }
    }
    // Every synonym of a species carries the same pair.
    for (int i = 1; i < j; ++i)
      if (dict.species_number[i] == dict.species_number[j] && dict.species_number[j] != 0)
        check(tables.ccalc1.first_entry[i] == first && tables.ccalc1.last_entry[i] == last,
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
  vegmatch::Tables* tables = &veg::fuzz::freshTables();
  vegmatch::load_species_dictionary(console, fs, *tables);
  try {
    vegmatch::load_association_tables(console, fs, species_limit, *tables);
  } catch (const veg::StopRun&) {
    check(console.last() == "*************************", "a stop ends with the notice");
    return 0;
  }
  checkLinks(*tables);

  // The second community, when there is one, begins the woodland.
  if (tables->n_communities >= 2) tables->calc3.nvc_code[2] = vegmatch::typw1;
  vegmatch::prepare(*tables);
  veg::fuzz::scoreAndRank(veg::fuzz::everySpecies(), *tables);
  return 0;
}
