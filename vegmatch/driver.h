// The run driver of VEGMATCH: title screens, run set-up, analysis
// parameters, loading, then the endless loop of sample entry, scoring,
// ranking and report.
#pragma once

#include "common/console.h"
#include "common/files.h"

namespace vegmatch {

/// Runs VEGMATCH on `console` and the files of `fs` until the run ends (the
/// user's exit, the end of the datafile or of keyboard input, or a fatal
/// load condition). Every open file is flushed and closed on return. The
/// exit status, always 0.
int runVegmatch(veg::Console& console, veg::FileSystem& fs);

}  // namespace vegmatch
