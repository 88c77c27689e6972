// Text as spreadsheets export it: UTF-8 or Windows-1252, column names in
// any case, with blanks and accents.
#pragma once

#include <string>
#include <string_view>

namespace vegfit {

/// True when `text` is valid UTF-8 (plain ASCII included).
bool isUtf8(std::string_view text);

/// `text`, read as Windows-1252, in UTF-8; appended to `out`.
void appendWindows1252AsUtf8(std::string_view text, std::string& out);

/// `text` (UTF-8) with the accented Latin letters of U+00C0..U+00FF made
/// plain ("Relevé" "Releve", "ß" "ss"); other characters unchanged.
std::string withoutAccents(std::string_view text);

/// A column name as names are compared: without accents, A-Z folded to
/// a-z, and without blanks, underscores, hyphens and dots ("Species name",
/// "species_name" and "SpeciesName" are one name).
std::string foldedColumnName(std::string_view name);

}  // namespace vegfit
