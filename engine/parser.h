// The species line parser: a line of a sample (typed, or read from a sample
// file) is free format within its first 40 columns: a name word, an optional
// second name word, the frequency (only in a sample with frequency data) and
// the value, separated by blanks or tabs; asterisks anywhere are marks.
#pragma once

#include <string>
#include <string_view>

namespace engine {

/// Columns of a line that sample entry looks at.
constexpr int kLineWidth = 40;
/// Width of a species name key: four characters of the genus, a blank, four
/// of the epithet.
constexpr int kKeyWidth = 9;

/// The first 40 columns of `line`, blank-padded when it is shorter.
std::string lineColumns(std::string_view line);

/// `c` with A-Z folded to a-z; every other character unchanged.
char lowerAscii(char c);

/// Blanks every asterisk in the first 40 columns of `line` (a 40-column
/// line) and returns how many there were, at most 2.
int removeMarks(std::string& line);

/// The value as sample entry holds it, in tenths: value x 10 in single
/// precision, plus 0.001, truncated toward zero. False (and `tenths`
/// untouched) when the result does not fit a 16-bit entry (beyond 3276.7 in
/// magnitude).
bool heldTenths(float value, short& tenths);

/// Takes a marks-free 40-column line apart. `field_work` is the work buffer
/// (its first 16 characters are overwritten). `key` receives the 9-character
/// name key (all blank for a line of blanks and tabs only). With `max_frequency` > 0
/// a number after the name is the frequency. `frequency` is 1 when none is
/// given, `value` 0 when none is given. `bad` is set when the frequency word
/// is longer than 3 characters, unreadable or above `max_frequency`, or the
/// value word reaches column 40, is longer than 6 characters, cannot be read
/// as a number or does not fit the held tenths; the other results are then
/// of no use.
void parseSpeciesLine(std::string_view line, std::string& field_work, std::string& key,
                      int max_frequency, int& frequency, float& value, bool& bad);

}  // namespace engine
