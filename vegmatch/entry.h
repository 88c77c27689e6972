// Sample entry: one sample per call of stndin, typed at the keyboard (with
// prompts, name menu, recap and the record-of-entry file) or read from a
// sample datafile, handed back as distinct species numbers with their
// frequencies and covers in whole percent.
#pragma once

#include "vegmatch/blocks.h"
#include "vegmatch/io.h"

namespace vegmatch {

/// A species code is the species number plus this for each mark.
constexpr int kMarkStep = 10000;

/// Highest value on each cover scale before a warning (% cover,
/// Braun-Blanquet, Domin); a larger value is kept.
float coverLimit(int cover_scale);

/// Percent cover (0..100) of `value` on `scale` (1 % cover, 2 Braun-Blanquet,
/// 3 Domin), in single precision; `percent` is left unchanged for any other
/// scale.
void rescal(float value, int scale, int& percent);

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
/// `cover_scale` (rescal), marks taken off the species codes, species above
/// `species_limit` dropped, and the entries of one species number joined in
/// the place of its first (largest frequency, covers added, at most 100).
/// sample_size becomes the number of merged entries.
void mergeEntries(Sample& sample, int cover_scale, int species_limit);

/// Obtains the next sample into `sample`: entries 1..sample_size then hold
/// distinct species numbers not above species_limit, the largest frequency
/// of each, and covers in percent; sample_name and max_frequency are set.
/// Names added during entry extend tables.calc1 and name_count and take
/// numbers from last_new_number + 1. Advances sample_count for every sample
/// passed over without entries. Keyboard mode writes each sample's block to
/// io.record; datafile mode reads io.datafile and copies its notices to the
/// answers file. At the end of the datafile it ends the run (hold, then
/// veg::StopRun); at the end of keyboard input it writes the block typed so
/// far, terminator included, and throws veg::StopRun.
void stndin(Io& io, Tables& tables, few& settings, cards& buffers, captab& grid, Sample& sample,
            const Switches& switches);

}  // namespace vegmatch
