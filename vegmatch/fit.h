// The goodness-of-fit engine: the class-code conversion tables, the
// per-community totals built once at start-up, the per-sample scoring and
// the ranking, with the sort and search of the sorted species index. All
// arithmetic is single precision, in the order written, so that printed
// percentages are reproducible to the last digit.
#pragma once

#include <array>

#include "vegmatch/blocks.h"

namespace vegmatch {

/// The NVC code of the first woodland community.
inline constexpr char typw1[] = " W 1  ";

/// Builds domin_percent, cover_power and the class-code tables of `conv`.
void lookup(std::array<short, kDominValues + 1>& domin_percent,
            std::array<float, kMaxCover + 1>& cover_power, convrt& conv);

/// The four weights of the partial coefficients for `analysis_type`; any
/// value other than 1..4 takes those of type 5.
void coeffs(int analysis_type, float& w1, float& w2, float& w3, float& w4);

/// Adds the association-table entries of dictionary entry `j` into the
/// community totals: mode 1 at start-up (table counts and norms; `cover_weight`
/// receives the last entry's e), mode 0 for a sample entry of weight `w` and
/// cover percent `cover` (`cover_weight` is its x).
void totup(int j, int mode, int w, int cover, float& cover_weight, Tables& tables);

/// Start-up preparation after loading: woodland_start, the conversion tables
/// and the per-community totals that depend only on the tables.
void prepare(Tables& tables);

/// Scores every community 1..n_communities for `sample`, leaving the four
/// partial coefficients and fit_score in calc3, calc5 and calc6.
void score(const Sample& sample, int analysis_type, Tables& tables);

/// Ranks the `r` best of `scores[1..n]` into top_community / top_score
/// (places 1..r, best first; unfilled places hold community 1 and -1e10).
void topn(const PerCommunity& scores, int n, std::array<short, kMaxOutput + 1>& top_community,
          std::array<float, kMaxOutput + 1>& top_score, int r);

/// Sorts keys[1..n] ascending, carrying `companion`; equal keys end in
/// ascending order of companion.
void isort2(short* keys, short* companion, int n);

/// The lowest position of `key` in sorted[1..n] (n >= 1), or 0.
int ibin(const short* sorted, int n, int key);

/// A coefficient as printed: value x 100.1 (single-precision constant),
/// formed exactly and truncated toward zero.
int percent(float value);

}  // namespace vegmatch
