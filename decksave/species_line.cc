#include "decksave/species_line.h"

#include <algorithm>

#include "common/fields.h"

namespace decksave {

namespace {

constexpr int kNameColumn = 2;
constexpr int kIntegerColumn = 13;
constexpr int kIntegerWidth = 4;
constexpr int kTenthsColumn = 17;
constexpr int kTenthsWidth = 2;

bool readable(char c) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == '.' || c == ',';
}

// Columns `first`..`first + width - 1` of `line`, blank-padded, into `out`.
void take(std::string_view line, int first, int width, char* out) {
  const std::size_t start = static_cast<std::size_t>(first - 1);
  for (int i = 0; i < width; ++i) {
    const std::size_t at = start + static_cast<std::size_t>(i);
    out[i] = at < line.size() ? line[at] : ' ';
  }
}

}  // namespace

bool isBlankName(const SpeciesName& name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return c == ' '; });
}

bool readSpeciesLine(std::string_view line, SpeciesName& name, float& value) {
  take(line, kNameColumn, kNameLength, name.data());

  char integer[kIntegerWidth];
  char tenths[kTenthsWidth];
  take(line, kIntegerColumn, kIntegerWidth, integer);
  take(line, kTenthsColumn, kTenthsWidth, tenths);
  const std::string_view integer_field(integer, kIntegerWidth);
  const std::string_view tenths_field(tenths, kTenthsWidth);
  if (!std::all_of(integer_field.begin(), integer_field.end(), readable) ||
      !std::all_of(tenths_field.begin(), tenths_field.end(), readable)) {
    return false;
  }

  long long whole = 0;
  double fraction = 0;
  if (!veg::readIntField(integer_field, whole)) return false;
  if (!veg::readRealField(tenths_field, fraction)) return false;
  // Without a point the two digits are tenths: "35" is 3.5.
  if (tenths_field.substr(0, tenths_field.find(',')).find('.') == std::string_view::npos) {
    fraction /= 10;
  }
  const std::string_view sign_part = integer_field.substr(0, integer_field.find(','));
  const bool negative = sign_part.find('-') != std::string_view::npos;
  const float f = static_cast<float>(fraction);
  value = negative ? static_cast<float>(whole) - f : static_cast<float>(whole) + f;
  return true;
}

}  // namespace decksave
