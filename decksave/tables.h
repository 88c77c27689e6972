// The tables of DECKSAVE. Each table is a plain struct, owned by the run and
// passed by reference to the routines that use it. Arrays are 1-based:
// element 0 is never used, so species and sample numbers index them directly.
#pragma once

#include <array>

#include "cornell/layout.h"

namespace decksave {

// Distinct species names (SpeciesDictionary, ShortSpeciesNames).
constexpr int kDictionarySize = 5000;
constexpr int kMaxSamples = 5000;  // samples of one file (SampleNames)
// Species lines of one sample. A VEGMATCH sample has at most 300 entries; a
// DECKLOAD sample has no bound, so the tables are sized like the dictionary.
constexpr int kMaxSampleEntries = 5000;

constexpr int kNameLength = 9;  // species name as the sample file holds it
// Species and sample names on the name lines of the Cornell file.
constexpr int kShortNameLength = cornell::kNameWidth;

using SpeciesName = std::array<char, kNameLength>;
using ShortName = cornell::Name;

// Slots of the name index of SpeciesDictionary: a power of two, at least 1.5
// times the dictionary, so that a look-up probes only a handful of slots.
constexpr int kIndexSlots = 8192;
static_assert(kIndexSlots >= kDictionarySize * 3 / 2 && (kIndexSlots & (kIndexSlots - 1)) == 0);

/// The species dictionary: distinct names in the order of their first
/// occurrence; a name's position is its species number. `index` finds a
/// name's position without going through the list (open addressing by a hash
/// of the name, 0 for an empty slot); only findOrAddSpecies writes either.
struct SpeciesDictionary {
  std::array<SpeciesName, kDictionarySize + 1> species_name{};
  std::array<short, kIndexSlots> index{};
};

/// The sample names, by sample number.
struct SampleNames {
  std::array<ShortName, kMaxSamples + 1> sample_name{};
};

/// The species names cut to 8 characters for the name lines, by species
/// number.
struct ShortSpeciesNames {
  std::array<ShortName, kDictionarySize + 1> short_name{};
};

/// The current sample: species numbers and values of its species lines, in
/// the order read (sortBySpeciesNumber then orders them).
struct SampleTable {
  std::array<int, kMaxSampleEntries + 1> species{};
  std::array<float, kMaxSampleEntries + 1> value{};
};

}  // namespace decksave
