// The sorted species index of the dictionary: its sort and its search.
#pragma once

#include <cstddef>

#include "engine/tables.h"

namespace engine {

/// Sorts keys[1..n] ascending, carrying `companion`; equal keys end in
/// ascending order of companion.
void sortWithCompanion(short* keys, short* companion, int n);

/// The lowest position of `key` in sorted[1..n] (n >= 1), or 0.
int findFirstSorted(const short* sorted, int n, int key);

/// The dictionary entry of `species_number` through the sorted index: the
/// first of its names; 0 when it has none.
inline int entryOfSpecies(const Tables& tables, int species_number) {
  const int q = findFirstSorted(tables.dictionary.sorted_species_number.data(), tables.dict_size,
                                species_number);
  return q == 0 ? 0 : tables.dictionary.sorted_entry[static_cast<std::size_t>(q)];
}

/// Calls visit(species_number, entry) once for every species number of the
/// sorted index, in ascending order, with its first dictionary entry
/// (however many names it has).
template <class Visit>
void forEachSpecies(const Tables& tables, Visit visit) {
  const Dictionary& dict = tables.dictionary;
  int previous = 0;
  for (int position = 1; position <= tables.dict_size; ++position) {
    const int p = dict.sorted_species_number[static_cast<std::size_t>(position)];
    if (p == previous) continue;
    previous = p;
    visit(p, static_cast<int>(dict.sorted_entry[static_cast<std::size_t>(position)]));
  }
}

}  // namespace engine
