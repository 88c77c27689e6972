// Evaluation of the shipped reference data with the engine (engine/):
// pseudo-samples are drawn from the public floristic tables, scored against
// every community, and the ranks of the unit each sample came from are
// tallied.
//
// A pseudo-sample of a unit holds each taxon row of the unit's table with the
// probability of its constancy class (I..V: 10, 30, 50, 70, 90 %), with a
// Domin cover drawn uniformly between the row's minimum and maximum and
// turned into percent (Domin 1..10: 0, 1, 4, 9, 16, 26, 39, 55, 75, 99);
// taxa of one species are merged as sample entry merges them (covers added,
// at most 100). The generator is std::mt19937 with a fixed seed, and the
// draws use its raw output, so the figures are the same on every machine.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/files.h"
#include "engine/tables.h"
#include "tools/nvcdata.h"

namespace nvceval {

struct PseudoSample {
  int unit = 0;                              // community number it was drawn from
  std::vector<std::pair<int, int>> species;  // species number, cover in percent
};

/// The percent cover of Domin value `d` (1..10).
int dominPercent(int d);

/// `per_unit` pseudo-samples of every unit of `data` (in community order),
/// drawn from the rows of `sources.floristic`; a draw that holds no species
/// is drawn again. `data` gives the species numbers and community numbers.
std::vector<PseudoSample> drawSamples(const nvcdata::Sources& sources,
                                      const nvcdata::ReferenceData& data, int per_unit,
                                      std::uint32_t seed);

/// For every community number 1..n_communities (index 0 unused): the number
/// of its community, that is itself for a community and the community's
/// number for a subcommunity (the record whose NVC code has no letter).
std::vector<int> parents(const engine::Tables& tables);

struct Tally {
  int samples = 0;
  int unit_first = 0;       // the source unit ranked first
  int unit_top5 = 0;        // ... within the best five
  int community_first = 0;  // the first ranked unit belongs to the source's community
  int community_top5 = 0;   // ... one of the best five does
};

/// Scores every sample under `analysis_type` and tallies the ranks (ties
/// ranked as the report ranks them; a community scoring below 0.0001, which
/// the report shows without its code, counts as no rank).
Tally tally(engine::Tables& tables, const std::vector<PseudoSample>& samples, int analysis_type);

/// Loads SPECDICT.txt, ASSOCTAB.txt and NVCTYPES.txt from `fs` with the
/// VEGMATCH loaders (all species groups) and prepares the engine's totals.
/// Throws std::runtime_error, with the loaders' screen lines, when loading
/// stops.
std::unique_ptr<engine::Tables> loadTables(veg::FileSystem& fs);

/// A file system holding the three reference files of `data` in memory.
std::unique_ptr<veg::FileSystem> memoryFiles(const nvcdata::ReferenceData& data,
                                             const nvcdata::Sources& sources);

/// The files of directory `dir`.
std::unique_ptr<veg::FileSystem> directoryFiles(const std::string& dir);

}  // namespace nvceval
