// The ranking of the communities by their goodness of fit.
#pragma once

#include <array>

#include "engine/tables.h"

namespace engine {

/// Ranks the `r` best of `scores[1..n]` into top_community / top_score
/// (places 1..r, best first; unfilled places hold community 1 and -1e10).
/// Of equal scores the lower community number ranks first.
void rankBest(const PerCommunity& scores, int n, std::array<short, kMaxOutput + 1>& top_community,
              std::array<float, kMaxOutput + 1>& top_score, int r);

}  // namespace engine
