// Small source tables written by hand, shared by the tests of the builder
// and of the evaluation: nine units of four groups (A2, A2a, A10, CG2, CG2a,
// CG2b, SM12, SM12a without a row of its own, W1), six species of all four
// taxon groups, strata and an infraspecific taxon to merge, a synonym and
// competing EUNIS correspondences; no hand-kept synonyms and no UKSI
// synonyms.
#pragma once

#include "tools/nvcdata.h"

namespace nvcdata {

Sources smallSources();

}  // namespace nvcdata
