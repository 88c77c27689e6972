// The name lines of a Cornell condensed file, as the reader takes them apart
// and the writer builds them: ten names of 8 characters to a line.
#pragma once

#include <array>

namespace cornell {

constexpr int kNamesPerLine = 10;
constexpr int kNameWidth = 8;

/// One name of a name line, blank-padded to its 8 characters.
using Name = std::array<char, kNameWidth>;

}  // namespace cornell
