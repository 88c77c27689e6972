// Sample entry: one sample per call of stndin, typed at the keyboard (with
// prompts, name menu, recap and the record-of-entry file) or read from a
// sample datafile, handed back as distinct species numbers with their
// frequencies and covers in whole percent.
#pragma once

#include "vegmatch/blocks.h"
#include "vegmatch/io.h"

namespace vegmatch {

/// Highest value on each cover scale before a warning (% cover,
/// Braun-Blanquet, Domin); a larger value is kept.
float coverLimit(int cover_scale);

/// Percent cover (0..100) of `value` on `scale` (1 % cover, 2 Braun-Blanquet,
/// 3 Domin), in single precision; `percent` is left unchanged for any other
/// scale.
void rescal(float value, int scale, int& percent);

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
