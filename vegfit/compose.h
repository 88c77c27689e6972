// --group-by: one sample with frequency data composed from the quadrats of
// each group, as a synoptic table of a stand is made.
#pragma once

#include "vegfit/samples.h"

namespace vegfit {

/// The largest number of quadrats a group may hold (the largest maximum
/// frequency of a sample).
constexpr int kMaxQuadrats = 100;

/// The samples composed from `quadrats` (ordered, each with its group),
/// one per group in the order of the groups: maximum frequency the number
/// of quadrats of the group, each species' frequency the number of
/// quadrats holding it and its value its mean percent cover in them (as %
/// cover), species in the order in which they first appear. Each quadrat
/// is first made a sample as sample entry makes it (its own scale, the
/// species groups of `species_limit`). A group of more than 100 quadrats
/// or more than 300 species, or a quadrat of more than 300 entries, is
/// reported as an error.
SampleSet compose(const SampleSet& quadrats, int species_limit, Diagnostics& messages);

}  // namespace vegfit
