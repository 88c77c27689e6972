#include "decksave/species_dictionary.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/fields.h"

namespace decksave {

namespace {

std::uint32_t hashName(const SpeciesName& name) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (char c : name) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

void findOrAddSpecies(veg::Console& console, SpeciesDictionary& dictionary, int capacity,
                      int& count, const SpeciesName& name, int& number) {
  const int limit = std::clamp(capacity, 0, kDictionarySize);
  const int known = std::clamp(count, 0, limit);
  // The names are distinct, so the index finds the one entry that comparing
  // entries 1 to `known` in turn would find. A slot naming an entry past
  // `known` is left over from a longer dictionary: it is passed over and
  // taken for the new name. The index always has empty slots (more slots
  // than entries), so the probe ends.
  constexpr std::uint32_t kMask = kIndexSlots - 1;
  std::uint32_t free_slot = kIndexSlots;
  std::uint32_t slot = hashName(name) & kMask;
  for (;; slot = (slot + 1) & kMask) {
    const int entry = dictionary.index[slot];
    if (entry == 0) break;
    if (entry > known) {
      if (free_slot == kIndexSlots) free_slot = slot;
    } else if (dictionary.species_name[entry] == name) {
      number = entry;
      return;
    }
  }
  if (free_slot == kIndexSlots) free_slot = slot;
  count = known + 1;
  if (count > limit) {
    console.writeLine(" Dictionary now full.  Item " + std::string(name.data(), name.size()) +
                      "Number " + veg::fmtInt(capacity, 6));
    throw veg::StopRun{};
  }
  dictionary.species_name[count] = name;
  dictionary.index[free_slot] = static_cast<short>(count);
  number = count;
}

}  // namespace decksave
