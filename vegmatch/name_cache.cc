#include "vegmatch/name_cache.h"

#include <cstring>

#include "engine/names.h"
#include "engine/parser.h"

namespace vegmatch {

std::size_t NameCache::placeOf(std::string_view key) {
  std::uint64_t first = 0;
  std::memcpy(&first, key.data(), sizeof first);
  const std::uint64_t mixed =
      (first ^ static_cast<unsigned char>(key[sizeof first])) * 0x9e3779b97f4a7c15ULL;
  return static_cast<std::size_t>(mixed >> (64 - kPlaceBits));
}

int NameCache::findName(const engine::Dictionary& dict, int dict_size, int name_count,
                        std::string_view key) {
  // Keys of sample entry have the key width; others are only looked up.
  if (key.size() != static_cast<std::size_t>(engine::kKeyWidth))
    return engine::findName(dict, dict_size, name_count, key);
  std::size_t place = placeOf(key);
  for (; entry_[place] != 0; place = (place + 1) % kPlaces) {
    const int entry = entry_[place];
    const std::string& name = dict.species_name[static_cast<std::size_t>(entry)];
    if (name.size() == key.size() && std::memcmp(name.data(), key.data(), engine::kKeyWidth) == 0)
      return entry;
  }
  const int entry = engine::findName(dict, dict_size, name_count, key);
  // A quarter of the places stay empty, so that every search ends soon.
  if (entry >= 1 && entry <= dict_size && kept_ < static_cast<int>(kPlaces * 3 / 4)) {
    entry_[place] = static_cast<short>(entry);
    ++kept_;
  }
  return entry;
}

}  // namespace vegmatch
