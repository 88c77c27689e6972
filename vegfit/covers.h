// Cover values as recorders write them in spreadsheets, on each of the
// three scales: numbers (a decimal comma where the separator allows it),
// percentages with "%", ranges, "<1", the letters of the Braun-Blanquet and
// Domin scales, and the marks of a species recorded as present only.
#pragma once

#include <string>
#include <string_view>

namespace vegfit {

enum class CoverKind {
  kValue,     // a cover value
  kPresence,  // present without a cover (blank, NA, p, x, present): held as 0
  kBad,       // none of the forms the scale accepts
};

/// Reads `text` on `cover_scale` (1 % cover, 2 Braun-Blanquet, 3 Domin):
/// `value` as the species line parser would hand it on and `tenths` as
/// sample entry holds it. With `decimal_comma` a comma is a decimal point.
CoverKind readCover(std::string_view text, int cover_scale, bool decimal_comma, float& value,
                    short& tenths);

/// The forms `cover_scale` accepts, for a message that refuses a value.
std::string acceptedCovers(int cover_scale);

/// The name of a scale in messages: "percent", "Braun-Blanquet", "Domin".
const char* scaleName(int cover_scale);

}  // namespace vegfit
