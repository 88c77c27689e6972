#include "engine/names.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace engine {

namespace {

// The first eight bytes of a text (zeros for those it lacks) as a number
// in which they count from the first: where the numbers of two texts
// differ, they order as the texts do.
[[gnu::always_inline]] inline std::uint64_t orderedPrefix(std::string_view text) {
  unsigned char bytes[8] = {};
  if (text.size() >= 8) {
    std::memcpy(bytes, text.data(), 8);
  } else if (!text.empty()) {
    std::memcpy(bytes, text.data(), text.size());
  }
  return std::uint64_t{bytes[0]} << 56 | std::uint64_t{bytes[1]} << 48 |
         std::uint64_t{bytes[2]} << 40 | std::uint64_t{bytes[3]} << 32 |
         std::uint64_t{bytes[4]} << 24 | std::uint64_t{bytes[5]} << 16 |
         std::uint64_t{bytes[6]} << 8 | std::uint64_t{bytes[7]};
}

}  // namespace

// Each step compares the first eight bytes as one number and only texts
// that share them in full, and takes the new bound without a branch: the
// steps and the bounds are those of comparing the texts.
int bisectNames(const NameTable& names, int n, std::string_view key, int& upper, int& lower) {
  n = std::min(n, kMaxNames);
  lower = 1;
  upper = n;
  if (n < 1) return 0;
  const std::uint64_t key_prefix = orderedPrefix(key);
  int low = 1;
  int high = n;
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    const std::string_view name = names[static_cast<std::size_t>(middle)];
    const std::uint64_t prefix = orderedPrefix(name);
    const bool above = prefix != key_prefix ? key_prefix > prefix : key > name;
    low = above ? middle : low;
    high = above ? high : middle;
  }
  lower = low;
  upper = high;
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
