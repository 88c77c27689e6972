// The species line parser on any line: the 40-column card, its marks, and
// the words taken apart at a maximum frequency chosen by the first byte
// (0, a sample without frequency data, up to 100). Besides memory safety it
// checks what the parser promises its callers.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/fields.h"
#include "engine/parser.h"
#include "fuzz/support.h"

using veg::fuzz::check;

namespace {

struct Parse {
  std::string field_work;
  std::string key;
  int frequency = -99;
  float value = -99;
  bool bad = false;
};

Parse parse(std::string_view line, std::string field_work, int max_frequency) {
  Parse p;
  p.field_work = std::move(field_work);
  engine::parseSpeciesLine(line, p.field_work, p.key, max_frequency, p.frequency, p.value, p.bad);
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int max_frequency = data[0] % 101;
  const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::string input_line = engine::lineColumns(line);
  check(input_line.size() == engine::kLineWidth, "card width", input_line);
  check(input_line == veg::padRight(line.substr(0, std::min<std::size_t>(line.size(), 40)), 40),
        "card is the first 40 columns", input_line);

  const auto stars = std::count(input_line.begin(), input_line.end(), '*');
  const int marks = engine::removeMarks(input_line);
  check(marks == std::min<long>(stars, 2), "marks counted", input_line);
  check(input_line.find('*') == std::string::npos, "marks blanked", input_line);

  const Parse p = parse(input_line, std::string(40, ' '), max_frequency);
  check(p.key.size() == engine::kKeyWidth && p.key[4] == ' ', "key layout", p.key);
  // Tabs separate words like blanks: a line of blanks and tabs only is an
  // empty line, and nothing else is.
  const bool separators_only = input_line.find_first_not_of(" \t") == std::string::npos;
  check(veg::isBlank(p.key) == separators_only, "blank key for an empty line only", p.key);
  for (char c : p.key) check(!(c >= 'A' && c <= 'Z'), "key folded", p.key);
  check(p.field_work.size() == 40 && veg::isBlank(p.field_work.substr(16)),
        "work buffer used in its first 16 positions only", p.field_work);
  if (!p.bad) {
    short tenths = 0;
    check(std::isfinite(p.value) && engine::heldTenths(p.value, tenths), "value held", input_line);
    if (max_frequency == 0)
      check(p.frequency == 1, "frequency 1 without frequency data", input_line);
    else
      check(p.frequency >= 0 && p.frequency <= max_frequency, "frequency from 0 to the maximum",
            input_line);
  }

  // What the work buffer held before must not change the results.
  const Parse again = parse(input_line, std::string(40, '#'), max_frequency);
  check(again.key == p.key && again.bad == p.bad &&
            (p.bad || (again.frequency == p.frequency && again.value == p.value)),
        "results independent of the work buffer", input_line);

  // The parser is also safe on a line of any length that still has its
  // marks, though sample entry never hands it one.
  std::string field_work;
  std::string key;
  int frequency = 0;
  float value = 0;
  bool bad = false;
  engine::parseSpeciesLine(line, field_work, key, max_frequency, frequency, value, bad);
  check(key.size() == engine::kKeyWidth, "key width on a raw line", key);
  for (const std::uint8_t c : line.substr(0, 64)) {
    const char folded = engine::lowerAscii(static_cast<char>(c));
    check(folded == static_cast<char>(c) || (c >= 'A' && c <= 'Z' && folded == c + 32),
          "lower folds A-Z only");
  }
  return 0;
}
