// What a score means as the suite prints it: the percentage, the grade, and
// the columns an analysis type leaves out.
#pragma once

namespace engine {

/// A coefficient as printed: value x 100.1 (single-precision constant),
/// formed exactly and truncated toward zero.
int printedPercent(float value);

/// The grade of a goodness-of-fit percentage, 9 characters: "very poor"
/// (up to 49), "poor", "fair", "good" (from 50, 60, 70) or "very good"
/// (80 and more), blank-padded.
const char* grade(int fit_percent);

/// Sets to 0 the printed columns that `analysis_type` does not use: the
/// community composition column (types 3, 4 and 5) and the two cover
/// columns (types 2 and 4).
void zeroUnusedColumns(int analysis_type, int& community_composition, int& community_cover,
                       int& sample_cover);

}  // namespace engine
