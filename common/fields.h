// Fixed-column text fields: the one place where numbers and texts are put
// into and taken out of the columns of screen lines and file records.
#pragma once

#include <string>
#include <string_view>

namespace veg {

/// Integer right-justified in `width` columns; `width` asterisks when it does
/// not fit.
std::string fmtInt(long long value, int width);

/// Real with `decimals` decimals, rounded (a value exactly halfway rounds
/// away from zero), right-justified in `width` columns, always with a digit
/// before the point; `width` asterisks when it does not fit.
std::string fmtReal(double value, int width, int decimals);

/// Text in a field of `width` columns: a shorter text is right-justified with
/// leading blanks, a longer one shows its first `width` characters.
std::string fmtText(std::string_view text, int width);

/// `text` cut or blank-padded on the right to exactly `width` characters (the
/// form in which fixed-width text variables are held).
std::string padRight(std::string_view text, std::size_t width);

/// Columns `first`..`first + width - 1` (1-based) of `line`, a line shorter
/// than that being read as if padded with blanks.
std::string column(std::string_view line, int first, int width);

/// The same columns as far as `line` holds them (a view into it, shorter
/// than `width` or empty where the line is): what a field reader, to which
/// blanks are nothing, needs of them.
inline std::string_view columnView(std::string_view line, int first, int width) {
  const std::size_t start = static_cast<std::size_t>(first - 1);
  if (start >= line.size()) return {};
  return line.substr(start, static_cast<std::size_t>(width));
}

/// Sets `to` to column(line, first, width), in the storage `to` has.
void assignColumn(std::string& to, std::string_view line, int first, int width);

/// Reads an integer field: blanks anywhere are ignored, an all-blank field is
/// 0, an optional sign may lead, a comma ends the number. Returns false when
/// any other character stands in the field or the number overflows.
bool readIntField(std::string_view field, long long& value);

/// Reads a real field the same way, with one optional decimal point and an
/// optional exponent (E, e, D or d, or a sign alone, followed by an integer).
bool readRealField(std::string_view field, double& value);

/// True when every character of `text` is a blank.
bool isBlank(std::string_view text);

}  // namespace veg
