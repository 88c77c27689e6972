// The dictionary entries that name keys were found at during a run, so
// that a key met again in a datafile is not looked up again. Only entries
// of the dictionary as loaded (1..dict_size) are kept: they do not change
// during a run, and findName finds such an entry by bisection before it
// looks at the names added in the run, so a key found there once is found
// there every time.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/tables.h"

namespace vegmatch {

class NameCache {
 public:
  /// engine::findName(dict, dict_size, name_count, key), kept for keys
  /// found among entries 1..dict_size (which nothing may change while the
  /// cache is in use).
  int findName(const engine::Dictionary& dict, int dict_size, int name_count, std::string_view key);

 private:
  // Open addressing over 4096 places, each the entry of a key found (0:
  // empty); a key is known by the name of its entry, so a place holds no
  // copy of it. At most three quarters of them are used.
  static constexpr int kPlaceBits = 12;
  static constexpr std::size_t kPlaces = std::size_t{1} << kPlaceBits;
  static std::size_t placeOf(std::string_view key);

  std::array<short, kPlaces> entry_{};
  int kept_ = 0;
};

}  // namespace vegmatch
