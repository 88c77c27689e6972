// The goodness-of-fit engine: the class-code conversion tables, the
// per-community totals built once at start-up, and the scoring of one
// sample against every community. All arithmetic is single precision, in
// the order written, so that printed percentages are reproducible to the
// last digit.
#pragma once

#include <array>

#include "engine/tables.h"

namespace engine {

/// The NVC code of the first woodland community.
inline constexpr char kFirstWoodlandCode[] = " W 1  ";

/// Builds domin_percent, cover_power and the class-code tables of `conv`.
void buildConversionTables(std::array<short, kDominValues + 1>& domin_percent,
                           std::array<float, kMaxCover + 1>& cover_power, ConversionTables& conv);

/// The four weights of the partial coefficients for `analysis_type`; any
/// value other than 1..4 takes those of type 5.
void analysisWeights(int analysis_type, float& w1, float& w2, float& w3, float& w4);

/// Adds the association-table entries of dictionary entry `j` into the
/// community totals: mode 1 at start-up (table counts and norms; `cover_weight`
/// receives the last entry's e), mode 0 for a sample entry of weight `w` and
/// cover percent `cover` (`cover_weight` is its x).
void addTableEntries(int j, int mode, int w, int cover, float& cover_weight, Tables& tables);

/// Start-up preparation after loading: woodland_start, the conversion tables
/// and the per-community totals that depend only on the tables.
void prepareTables(Tables& tables);

/// Scores every community 1..n_communities for `sample`, leaving the four
/// partial coefficients and fit_score in tables.scores.
void scoreCommunities(const Sample& sample, int analysis_type, Tables& tables);

}  // namespace engine
