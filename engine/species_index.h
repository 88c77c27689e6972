// The sorted species index of the dictionary: its sort and its search.
#pragma once

namespace engine {

/// Sorts keys[1..n] ascending, carrying `companion`; equal keys end in
/// ascending order of companion.
void sortWithCompanion(short* keys, short* companion, int n);

/// The lowest position of `key` in sorted[1..n] (n >= 1), or 0.
int findFirstSorted(const short* sorted, int n, int key);

}  // namespace engine
