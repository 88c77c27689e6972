// DECKLOAD: converts a Cornell condensed file into a sample file. The banner,
// the file dialog, the header of the Cornell file, a first pass that checks
// the data lines and finds the highest species and sample numbers, the name
// lines, and a second pass that writes the samples.
#pragma once

#include "common/console.h"
#include "common/files.h"

namespace deckload {

/// Runs DECKLOAD to its end (always through `hold`, or at once when the
/// keyboard input ends). The sample file is written only when the whole
/// Cornell file has been read: after an error stop it is empty. Returns the
/// exit status, 0.
int runDeckload(veg::Console& console, veg::FileSystem& fs);

}  // namespace deckload
