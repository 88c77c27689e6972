// Sample entry: one sample per call of enterSample, typed at the keyboard (with
// prompts, name menu, recap and the record-of-entry file) or read from a
// sample datafile, handed back as distinct species numbers with their
// frequencies and covers in whole percent.
#pragma once

#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// Obtains the next sample into `sample`: entries 1..sample_size then hold
/// distinct species numbers not above species_limit, the largest frequency
/// of each, and covers in percent; sample_name and max_frequency are set.
/// Names added during entry extend tables.dictionary and name_count and take
/// numbers from last_new_number + 1. Advances sample_count for every sample
/// passed over without entries. Keyboard mode writes each sample's block to
/// io.record; datafile mode reads io.datafile and copies its notices to the
/// answers file. At the end of the datafile it ends the run (hold, then
/// veg::StopRun); at the end of keyboard input it writes the block typed so
/// far, terminator included, and throws veg::StopRun.
void enterSample(Io& io, Tables& tables, RunSettings& settings, LineBuffers& buffers,
                 RecapGrid& grid, Sample& sample, const Switches& switches);

}  // namespace vegmatch
