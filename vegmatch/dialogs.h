// VEGMATCH's own console dialogs: screen spacing, validated number entry,
// the run set-up, the analysis parameters and the title and help screens.
#pragma once

#include "common/console.h"
#include "vegmatch/io.h"
#include "vegmatch/state.h"

namespace vegmatch {

/// Pushes the screen up with five empty lines.
void pushScreenUp(veg::Console& console);

/// Shows `value` and asks for a new one until the reply is empty (value
/// kept) or a whole number within `lower`..`upper` (only the first two
/// characters of the reply count). End of input stops the program.
void askNumber(veg::Console& console, int& value, int lower, int upper);

/// Asks for the cover-abundance scale and the analysis type, offering the
/// current values in `settings`, and stores the answers there.
void askAnalysisParameters(veg::Console& console, RunSettings& settings);

/// The run set-up: creates the answers file, asks for the input source,
/// opens the datafile or creates the record-of-entry file (all kept in
/// `io`), and asks which species groups take part. When no answers or record
/// file can be created under any name it says so and ends the run.
Switches setUpRun(Io& io);

/// The title screen, the credits screen and the offer of help.
void showTitleScreens(veg::Console& console, veg::FileSystem& fs, HelpPage& page, int lines);

/// Shows HELP.txt a page of `lines` lines at a time, each page waiting for
/// RETURN; a missing file is reported in one line.
void showHelpPages(veg::Console& console, veg::FileSystem& fs, HelpPage& page, int lines);

}  // namespace vegmatch
