// The entries of a sample as sample entry builds them: one place per
// species line (species code with its marks, frequency, value in tenths,
// dictionary entry), then merged into distinct species numbers with covers
// in whole percent, as scoring takes them.
#pragma once

#include "engine/tables.h"

namespace engine {

/// A species code is the species number plus this for each mark.
constexpr int kMarkStep = 10000;

/// Highest value on each cover scale before a warning (% cover,
/// Braun-Blanquet, Domin); a larger value is kept.
float coverLimit(int cover_scale);

/// Percent cover (0..100) of `value` on `scale` (1 % cover, 2 Braun-Blanquet,
/// 3 Domin), in single precision; `percent` is left unchanged for any other
/// scale.
void coverPercent(float value, int scale, int& percent);

/// Stores the values of one species line in places 1..used of the entry
/// table: the place that holds dictionary entry `entry` with species code
/// `code` is reused (the line replaces its frequency and value), otherwise
/// the next free place is taken. False, and the table unchanged, when that
/// needs a place beyond kMaxSampleEntries.
bool placeEntry(Sample& sample, int& used, int entry, int code, int frequency, short tenths);

/// Analysis type 5: places 1..used get the % cover values 60, 50, ... 10,
/// then 0, in tenths, whatever they held (a deleted place too).
void rankTopFew(Sample& sample, int used);

/// The merge of the closing phase over places 1..sample_size: deleted
/// entries (negative values) dropped, values converted to percent on
/// `cover_scale` (coverPercent), marks taken off the species codes, species above
/// `species_limit` dropped, and the entries of one species number joined in
/// the place of its first (largest frequency, covers added, at most 100).
/// sample_size becomes the number of merged entries.
void mergeEntries(Sample& sample, int cover_scale, int species_limit);

}  // namespace engine
