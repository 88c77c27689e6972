// The look-up of a species name key in the dictionary.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/tables.h"

namespace engine {

using NameTable = std::array<std::string, kMaxNames + 1>;

/// Bisection over names[1..n] (ascending byte order from entry 3 on): the
/// index of the entry equal to `key`, or 0. `upper` and `lower` receive the
/// final bounds of the bisection (n is taken as at most kMaxNames).
int bisectNames(const NameTable& names, int n, std::string_view key, int& upper, int& lower);

/// The entry a species line's key stands for: bisectNames over entries
/// 1..dict_size, then a scan of the names added during the run
/// (dict_size + 1..name_count); 0 when neither holds it.
int findName(const Dictionary& dict, int dict_size, int name_count, std::string_view key);

}  // namespace engine
