#pragma once

#include "common/console.h"
#include "decksave/tables.h"

namespace decksave {

/// Looks `name` up among entries 1..`count` of `dictionary` (all 9
/// characters, exact, case-sensitive) and sets `number` to the position of
/// the entry found. A new name is appended as entry `count` + 1, which
/// becomes its number. When that would pass `capacity` (at most
/// kDictionarySize), shows " Dictionary now full.  Item " with the name,
/// "Number " and the capacity, and stops the program at once (StopRun, no
/// `hold`).
void findOrAddSpecies(veg::Console& console, SpeciesDictionary& dictionary, int capacity,
                      int& count, const SpeciesName& name, int& number);

}  // namespace decksave
