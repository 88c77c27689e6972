// A species line of a sample file as DECKSAVE takes it for the Cornell file:
// the name and the value VEGMATCH takes from the same line.
//
// A line in the fixed layout that VEGMATCH's record of entry and DECKLOAD
// write is read by its columns: column 1 blank, the name in columns 2-10 (a
// blank in column 6 between its two parts), columns 11-12 blank or marks,
// and the value right-justified, a whole number in columns 13-16 or one
// with one decimal in columns 13-18; nothing after. Every other line (one
// typed or written by hand, such as " Poa annua 30") is taken apart by the
// engine's species line parser, exactly as VEGMATCH reads a datafile: the
// name is its 4+4 name key, the value the tenths VEGMATCH holds, and in a
// sample with frequency data (a "*" and the maximum frequency on its name
// line) the number after the name is the frequency, which the Cornell file
// has no place for. A line VEGMATCH refuses as bad data is refused here too.
#pragma once

#include <string>
#include <string_view>

#include "decksave/tables.h"

namespace decksave {

/// What one line after a sample's name line stands for.
struct SpeciesEntry {
  enum Kind {
    kSpecies,      // a species and its value
    kEndOfSample,  // a line with no name: the sample ends
    kBadData,      // a line VEGMATCH ignores as bad data
  };
  Kind kind = kEndOfSample;
  SpeciesName name{};  // kSpecies: the 9-character name
  float value = 0;     // kSpecies
};

/// The work buffers of readSpeciesEntry, kept from line to line.
struct LineWork {
  std::string columns;
  std::string field_work;
  std::string key;
};

/// Takes `line` apart (see above) for a sample whose name line states
/// `max_frequency` (0 without frequency data).
SpeciesEntry readSpeciesEntry(std::string_view line, int max_frequency, LineWork& work);

/// True when `line` is in the fixed layout of the record of entry and of
/// DECKLOAD's sample files (see above).
bool inFixedLayout(std::string_view line);

/// The columns of the fixed layout taken apart into the 9-character `name`
/// (columns 2-10) and the `value`: columns 13-16 an integer and columns
/// 17-18 a number with one implied decimal, added. Blanks in columns 13-18
/// are ignored and a blank field is 0; in columns 17-18 the digits are
/// tenths unless a decimal point stands among them. When columns 13-16
/// carry a minus sign the tenths count towards it, so that a negative value
/// written with one decimal reads back as written. Returns false, leaving
/// `value` undefined, when columns 13-18 hold a character other than
/// digits, blanks, a sign, a decimal point or a comma (which ends a field),
/// or when a field does not read as a number.
bool readFixedColumns(std::string_view line, SpeciesName& name, float& value);

/// True when every character of `name` is a blank.
bool isBlankName(const SpeciesName& name);

}  // namespace decksave
