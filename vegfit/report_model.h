// The rows of the suite's JSON model as the HTML report reads them: for
// each sample its counts, status, indicator means and species with their
// covers, and for each of its ranked communities the names, fit,
// coefficients, habitats, richness, indicator ranges and each species'
// place in the community's table; with --group-by the stand's table.
#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vegfit/charts.h"

namespace vegfit::report {

using nlohmann::json;

/// A member of `j`: a text ("" when absent or not one), a whole number, a
/// number (none when absent or null), any value (null when absent).
std::string text(const json& j, const char* key);
std::optional<int> whole(const json& j, const char* key);
std::optional<double> number(const json& j, const char* key);
const json& member(const json& j, const char* key);

/// The Domin range of an object with min_domin and max_domin: "5-8",
/// "up to 8", or empty where neither end is known.
std::string dominRange(const json& j);
/// A species' place in a table from its constancy and Domin range: "V
/// 5-8", "V up to 8", "V"; empty when it has no constancy.
std::string place(const json& j);

struct Habitat {
  std::string code, name;
};

/// One ranked community of a sample.
struct Ranked {
  int rank = 0;
  std::string code, name;  // the full name, else the short one
  int fit = 0;
  std::string grade;
  std::array<int, 4> coefficients{};
  std::vector<Habitat> annex_i, priority;
  std::optional<int> plots, min_species, mean_species, max_species;
  std::array<std::optional<IndicatorRange>, 5> indicators;   // F, L, N, R, S
  std::vector<std::string> places;                           // of each sample species, as place()
  std::vector<std::pair<std::string, std::string>> missing;  // species, place
};

/// One sample (or stand) and its ranked communities, best first.
struct Sample {
  std::string file, name, status;
  int species = 0, unmatched = 0;
  int indicator_species = 0;
  std::array<std::optional<double>, 5> mean, weighted;
  std::vector<Ranked> ranked;                       // empty: no result
  std::vector<std::pair<std::string, int>> covers;  // its species and their covers
  const json* stand = nullptr;                      // its stand table, in `stands` of samplesOf
};

/// The samples of `rows` (result rows, in order, a sample's best first),
/// each with its table of `stands` (the same file and sample), if any.
std::vector<Sample> samplesOf(const json& rows, const json& stands);

}  // namespace vegfit::report
