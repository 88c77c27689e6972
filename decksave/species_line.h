// A species line of a sample file as DECKSAVE reads it: column 1 and the
// mark in columns 11-12 are ignored, columns 2-10 are the name, columns 13-16
// an integer and columns 17-18 a number with one implied decimal; the value
// is the two added.
#pragma once

#include <string_view>

#include "decksave/tables.h"

namespace decksave {

/// Takes `line` apart into the 9-character `name` and the `value`. Blanks in
/// columns 13-18 are ignored and a blank field is 0; in columns 17-18 the
/// digits are tenths unless a decimal point stands among them. When columns
/// 13-16 carry a minus sign the tenths count towards it, so that a negative
/// value written with one decimal reads back as written. Returns false,
/// leaving `value` undefined, when columns 13-18 hold a character other than
/// digits, blanks, a sign, a decimal point or a comma (which ends a field),
/// or when a field does not read as a number.
bool readSpeciesLine(std::string_view line, SpeciesName& name, float& value);

/// True when every character of `name` is a blank (the line ends a sample).
bool isBlankName(const SpeciesName& name);

}  // namespace decksave
