#include "decksave/inlist.h"

#include <algorithm>
#include <string>

#include "common/fields.h"

namespace decksave {

void inlist(veg::Console& console, dict1& dictionary, int capacity, int& count,
            const SpeciesName& name, int& number) {
  const int limit = std::clamp(capacity, 0, kDictionarySize);
  const int known = std::clamp(count, 0, limit);
  for (int entry = 1; entry <= known; ++entry) {
    if (dictionary.species_name[entry] == name) {
      number = entry;
      return;
    }
  }
  count = known + 1;
  if (count > limit) {
    console.writeLine(" Dictionary now full.  Item " + std::string(name.data(), name.size()) +
                      "Number " + veg::fmtInt(capacity, 6));
    throw veg::StopRun{};
  }
  dictionary.species_name[count] = name;
  number = count;
}

}  // namespace decksave
