#include "engine/names.h"

#include <algorithm>

namespace engine {

int bisectNames(const NameTable& names, int n, std::string_view key, int& upper, int& lower) {
  n = std::min(n, kMaxNames);
  lower = 1;
  upper = n;
  if (n < 1) return 0;
  while (upper - lower > 1) {
    int middle = (lower + upper) / 2;
    if (key > std::string_view(names[static_cast<std::size_t>(middle)])) {
      lower = middle;
    } else {
      upper = middle;
    }
  }
  if (key == names[static_cast<std::size_t>(lower)]) return lower;
  if (key == names[static_cast<std::size_t>(upper)]) return upper;
  return 0;
}

int findName(const Dictionary& dict, int dict_size, int name_count, std::string_view key) {
  int upper = 0;
  int lower = 0;
  int entry = bisectNames(dict.species_name, dict_size, key, upper, lower);
  if (entry != 0) return entry;
  int last = std::min(name_count, kMaxNames);
  for (int i = std::max(dict_size, 0) + 1; i <= last; ++i) {
    if (key == dict.species_name[static_cast<std::size_t>(i)]) return i;
  }
  return 0;
}

}  // namespace engine
