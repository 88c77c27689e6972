#include "fuzz/vegmatch_tables.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/ranking.h"
#include "engine/scoring.h"
#include "fuzz/support.h"

namespace veg::fuzz {

const std::vector<std::string> kDictionary = {"   2 agro capi", "4500 clad port", "   1 fest rubr",
                                              "   6 hede heli", "   6 hede hibe", "3500 hypn cupr",
                                              "   3 plan lanc", "   3 plan maj ", "   5 quer robu",
                                              "3501 rhyt squa", "   4 rume acet"};

const std::vector<std::string> kTables = {
    "   17    9",
    "  145  234  412  127  248  136  225  213  1 5  350  446  339  444  322  431",
    "  117  4 3",
    "    1    1    3",
    "    2    4    5",
    "    3    6    7",
    "    4    8    9",
    "    5   10   11",
    "    6   12   13",
    " 3500   14   15",
    " 3501   16   16",
    " 4500   17   17"};

const std::vector<std::string> kCrossReference = {
    "  CG 2a Festuca grassland       Dwarf herb sub. E1.26   Calcareous grassland",
    "  MG 5  Centaurea meadow        typical         E2.1    Pasture",
    "  W 1   Quercus woodland                        G1.8    Acid oak woodland",
    "  W10a  Quercus-Pteridium wood. Rubus sub.      G1.A    Mixed woodland"};

void putReferenceFiles(testing::MemoryFileSystem& fs) {
  fs.put("SPECDICT.txt", kDictionary);
  fs.put("ASSOCTAB.txt", kTables);
  fs.put("NVCTYPES.txt", kCrossReference);
}

engine::Tables& freshTables() {
  static const auto* const pristine = new engine::Tables;
  static auto* const tables = new engine::Tables;
  *tables = *pristine;
  return *tables;
}

engine::Sample everySpecies() {
  engine::Sample sample;
  const short numbers[] = {1, 2, 3, 4, 5, 6, 3500, 4500};
  const short covers[] = {25, 3, 10, 1, 60, 0, 100, 5};
  for (int i = 0; i < 8; ++i) {
    sample.sample_species[i + 1] = numbers[i];
    sample.sample_cover[i + 1] = covers[i];
    sample.sample_frequency[i + 1] = 1;
  }
  sample.sample_size = 8;
  return sample;
}

namespace {

// Communities that an entry counting in the tables' totals names: one of a
// species within the limit, and not of the reserved number 0.
std::vector<bool> withEntries(const engine::Tables& tables) {
  std::vector<bool> named(static_cast<std::size_t>(tables.n_communities) + 1, false);
  for (int j = 1; j <= tables.dict_size; ++j) {
    const int last = tables.entry_ranges.last_entry[j];
    if (last == 0 || tables.dictionary.species_number[j] == 0) continue;
    for (int e = tables.entry_ranges.first_entry[j]; e <= last; ++e)
      named[static_cast<std::size_t>(tables.entries.entry_community[e])] = true;
  }
  return named;
}

}  // namespace

void scoreAndRank(const engine::Sample& sample, engine::Tables& tables) {
  std::array<short, engine::kMaxOutput + 1> top_community{};
  std::array<float, engine::kMaxOutput + 1> top_score{};
  const int n = tables.n_communities;
  const std::vector<bool> named = withEntries(tables);
  for (int analysis_type = 1; analysis_type <= 5; ++analysis_type) {
    engine::scoreCommunities(sample, analysis_type, tables);
    bool all_finite = true;
    for (int k = 1; k <= n; ++k) {
      const float s = tables.scores.fit_score[k];
      all_finite = all_finite && std::isfinite(s);
      if (!named[static_cast<std::size_t>(k)] && !kCheckCommunitiesWithoutEntries) continue;
      check(std::isfinite(s) && s >= 0 && s <= 1.0f, "score finite and in 0..1");
    }
    const int r = std::min(n, engine::kMaxOutput);
    if (r < 1 || !all_finite) continue;
    engine::rankBest(tables.scores.fit_score, n, top_community, top_score, r);
    std::vector<bool> placed(static_cast<std::size_t>(n) + 1, false);
    for (int i = 1; i <= r; ++i) {
      const int k = top_community[i];
      check(k >= 1 && k <= n && !placed[static_cast<std::size_t>(k)], "each community ranked once");
      placed[static_cast<std::size_t>(k)] = true;
    }
  }
}

}  // namespace veg::fuzz
