// What a fit means, beside the figures of scoring: a sample's mean
// indicator values against a community's, the species behind a fit (each
// sample species with its place in the community's table, the table's
// constants the sample lacks) and a stand's own constancy table beside the
// community's.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/tables.h"
#include "vegfit/attributes.h"
#include "vegfit/samples.h"

namespace vegfit {

/// The mean indicator values of a sample over its species that have
/// values: unweighted, and weighted by percent cover (none when those
/// species have no cover).
struct SampleIndicators {
  int species = 0;  // species that have values
  std::array<std::optional<double>, kIndicators> mean, weighted;
};

SampleIndicators sampleIndicators(const engine::Sample& sample, const Attributes& attributes);

/// How many standard deviations `sample_mean` lies from the unit's mean
/// (positive above it); none without either, or when the unit's standard
/// deviation is 0.
inline std::optional<double> deviation(const std::optional<double>& sample_mean,
                                       const std::optional<UnitIndicator>& unit) {
  if (!sample_mean || !unit || !(unit->sd > 0)) return std::nullopt;
  return (*sample_mean - unit->mean) / unit->sd;
}

/// `value` in hundredths, rounded half away from zero.
inline long long cents(double value) {
  return static_cast<long long>(value * 100.0 + (value < 0 ? -0.5 : 0.5));
}
/// `value` rounded to two decimals, as the output shows it (never -0).
inline double rounded2(double value) { return static_cast<double>(cents(value)) / 100.0; }

/// A species in a community's table as the explanations show it:
/// constancy 1..5 (0: the table lacks it) and its Domin cover range
/// (0: not known).
struct TablePlace {
  int constancy = 0;
  int min_domin = 0;
  int max_domin = 0;
};

/// The place of species `species_number` in community k's table: from the
/// floristic table file when it was read, otherwise from the association
/// table's class code (its constancy and largest cover only).
TablePlace tablePlace(const engine::Tables& tables, const Attributes& attributes, int k,
                      int species_number);

/// One line of a stand's table beside a community's: a species of the
/// stand, of the community's table or of both.
struct StandTableLine {
  int species_number = 0;  // 0 for a name of no species
  std::string name;
  StandCover stand;  // quadrats 0: not in the stand
  TablePlace unit;                    // constancy 0: not in the table
  int stand_constancy = 0;
};

/// The lines of a stand of `quadrats` quadrats (species `numbers`, names
/// `names` and covers `covers`, one each) beside community k's table (k 0:
/// none): the table's species by constancy, highest first, then the
/// stand's other species; within each constancy by the stand's constancy,
/// then by name. `name_of` gives the name of a table species the stand
/// lacks.
std::vector<StandTableLine> standTable(const std::vector<int>& numbers,
                                       const std::vector<std::string>& names,
                                       const std::vector<StandCover>& covers, int quadrats,
                                       const engine::Tables& tables, const Attributes& attributes,
                                       int k, const std::function<std::string(int)>& name_of);

}  // namespace vegfit
