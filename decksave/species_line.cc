#include "decksave/species_line.h"

#include <algorithm>

#include "common/fields.h"
#include "engine/parser.h"

namespace decksave {

static_assert(kNameLength == engine::kKeyWidth, "a species name is a name key");

namespace {

constexpr int kNameColumn = 2;
constexpr int kIntegerColumn = 13;
constexpr int kIntegerWidth = 4;
constexpr int kTenthsColumn = 17;
constexpr int kTenthsWidth = 2;

// Columns of the fixed layout.
constexpr int kMarkColumn = 11;
constexpr int kLastColumn = 18;
constexpr int kBetweenWords = 6;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Column `c` (1-based) of `line`, a blank beyond its end.
char at(std::string_view line, int c) {
  const std::size_t i = static_cast<std::size_t>(c - 1);
  return i < line.size() ? line[i] : ' ';
}

// True when columns `first`..`last` hold blanks, then an optional minus
// sign and digits, and (with `decimal`) a point and one digit at the end.
bool rightJustifiedNumber(std::string_view line, int first, int last, bool decimal) {
  int c = last;
  if (decimal) {
    if (!isDigit(at(line, c)) || at(line, c - 1) != '.') return false;
    c -= 2;
  }
  if (!isDigit(at(line, c))) return false;
  while (c >= first && isDigit(at(line, c))) --c;
  if (c >= first && at(line, c) == '-') --c;
  for (; c >= first; --c) {
    if (at(line, c) != ' ') return false;
  }
  return true;
}

// True when `line` has the fixed layout up to column 12 and nothing after
// column 18.
bool fixedFrame(std::string_view line) {
  if (at(line, 1) != ' ' || at(line, kBetweenWords) != ' ') return false;
  bool named = false;
  for (int c = kNameColumn; c < kNameColumn + kNameLength; ++c) {
    const char ch = at(line, c);
    if (ch == '*' || ch == '\t') return false;
    named = named || ch != ' ';
  }
  if (!named) return false;
  for (int c = kMarkColumn; c < kIntegerColumn; ++c) {
    if (at(line, c) != ' ' && at(line, c) != '*') return false;
  }
  return line.size() <= static_cast<std::size_t>(kLastColumn) ||
         veg::isBlank(line.substr(kLastColumn));
}

// A value too large for its columns, written as asterisks in the fixed
// layout: VEGMATCH would take the asterisks for marks and the value for 0.
bool asteriskValue(std::string_view line) {
  const std::string value = veg::column(line, kIntegerColumn, kIntegerWidth + kTenthsWidth);
  return fixedFrame(line) && (value == "****  " || value == "******");
}

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

bool inFixedLayout(std::string_view line) {
  if (!fixedFrame(line)) return false;
  const bool whole = at(line, kTenthsColumn) == ' ' && at(line, kLastColumn) == ' ' &&
                     rightJustifiedNumber(line, kIntegerColumn, kTenthsColumn - 1, false);
  return whole || rightJustifiedNumber(line, kIntegerColumn, kLastColumn, true);
}

SpeciesEntry readSpeciesEntry(std::string_view line, int max_frequency, LineWork& work) {
  SpeciesEntry entry;
  // The fixed layout has no column for a frequency.
  if (max_frequency == 0 && inFixedLayout(line)) {
    entry.kind = readFixedColumns(line, entry.name, entry.value) ? SpeciesEntry::kSpecies
                                                                 : SpeciesEntry::kBadData;
    return entry;
  }
  if (asteriskValue(line)) {
    entry.kind = SpeciesEntry::kBadData;
    return entry;
  }
  work.columns = engine::lineColumns(line);
  engine::removeMarks(work.columns);
  int frequency = 1;
  float value = 0;
  bool bad = false;
  engine::parseSpeciesLine(work.columns, work.field_work, work.key, max_frequency, frequency, value,
                           bad);
  if (veg::isBlank(work.key)) return entry;
  short tenths = 0;
  if (bad || !engine::heldTenths(value, tenths)) {
    entry.kind = SpeciesEntry::kBadData;
    return entry;
  }
  entry.kind = SpeciesEntry::kSpecies;
  std::copy_n(work.key.begin(), kNameLength, entry.name.begin());
  entry.value = static_cast<float>(tenths) / 10.0f;
  return entry;
}

bool isBlankName(const SpeciesName& name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return c == ' '; });
}

bool readFixedColumns(std::string_view line, SpeciesName& name, float& value) {
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
