// DECKSAVE: converts a sample file into a Cornell condensed file. Samples are
// numbered in file order, species in the order their names first occur; each
// sample's couplets are written sorted by species number, then the species
// and sample names as name lines.
#pragma once

#include "common/console.h"
#include "common/files.h"

namespace decksave {

/// The whole program: banner, file dialog, conversion, `hold`. Every end,
/// error stops included, is a normal one; a file that cannot be read or
/// written is reported with its name. Returns the exit status, always 0.
int runDecksave(veg::Console& console, veg::FileSystem& fs);

}  // namespace decksave
