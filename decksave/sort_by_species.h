#pragma once

namespace decksave {

/// Heapsort of entries 1..`count` (1-based arrays) into ascending order of
/// `species`; each value moves with its species number. Entries with equal
/// species numbers end up next to each other, in the order the heap gives
/// them (not necessarily the order read).
void sortBySpeciesNumber(int* species, float* values, int count);

}  // namespace decksave
