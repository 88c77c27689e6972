// The recap of a sample being typed: the running display of the last
// entries, the recap screen of all entries, and the species lines of the
// record-of-entry file, all from the entry table as sample entry holds it
// (species codes with their marks, values in tenths, deleted entries
// negative).
#pragma once

#include <string>

#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// Recap modes.
constexpr int kRecapRunning = 0;
constexpr int kRecapScreen = 1;
constexpr int kRecapRecord = 2;

/// Entry j as a species line of the sample file: a blank, the 9-character
/// name, the mark (two blanks, "* " or "**"), the frequency in 3 columns
/// when max_frequency > 0, then the value in tenths shown as a whole number
/// in 4 columns or with one decimal in 6.
std::string formatEntry(const Sample& sample, int j, const Dictionary& dict, int name_count,
                        int max_frequency);

/// Entries 1..n, deleted ones passed over. Mode 0: the last ten of them on
/// the screen, one a line. Mode 1: the recap screen, an empty line and
/// then three columns of 15 rows, in screens of 45 with a RETURN prompt
/// between screens (which reads the keyboard). Mode 2: species lines to the
/// record-of-entry file. With datafile input (isDatafile) nothing is
/// shown or written, except the empty line of mode 1.
void recap(Io& io, RecapGrid& grid, int mode, int n, int input_mode, const Sample& sample,
           const Dictionary& dict, int name_count, int max_frequency);

}  // namespace vegmatch
