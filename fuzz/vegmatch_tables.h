// Small reference tables for the fuzz targets of VEGMATCH: four
// communities, two of them woodland (from " W 1  " on); synonyms (species 3
// and 6), mosses (3500, 3501) and a lichen (4500), so that every
// species-group limit leaves out something. Every community keeps a
// vascular plant, so that no limit leaves one without entries.
#pragma once

#include <string>
#include <vector>

#include "common/console.h"
#include "common/testing/fakes.h"
#include "engine/tables.h"

namespace veg::fuzz {

/// SPECDICT.txt, in ascending order of the names.
extern const std::vector<std::string> kDictionary;
/// ASSOCTAB.txt: 17 entries and 9 species records.
extern const std::vector<std::string> kTables;
/// NVCTYPES.txt.
extern const std::vector<std::string> kCrossReference;

/// Puts the three files into `fs`.
void putReferenceFiles(testing::MemoryFileSystem& fs);

/// The width to which the loader targets hold the screen lines: a message
/// that quotes a line of the file still fits the screen.
inline constexpr std::size_t kLoaderScreenWidth = 80;

/// Tables as a run starts with them (all empty), in one object kept for the
/// whole fuzzing run: a fresh allocation of its size each time would cost
/// more than the input's run.
engine::Tables& freshTables();

/// A sample of every dictionary species but one moss, with covers below and
/// above the class means.
engine::Sample everySpecies();

/// Whether the scores of communities that no counting entry names are
/// checked too: they come out as 0/0 until their scoring is mended, and
/// fit_test is where that is tested.
inline constexpr bool kCheckCommunitiesWithoutEntries = false;

/// Scores `sample` under every analysis type and ranks the communities,
/// checking that every community gets a finite score in 0..1 and, when all
/// scores are finite, that the ranking places each community once.
void scoreAndRank(const engine::Sample& sample, engine::Tables& tables);

}  // namespace veg::fuzz
