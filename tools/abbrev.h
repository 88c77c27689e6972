// Shortening the published NVC and EUNIS names to the fixed text fields of
// NVCTYPES.txt (community 24, subcommunity 16, EUNIS 24 characters).
//
// A name that fits is kept as published (in ASCII). Otherwise steps of rising
// loss are taken one after the other until it fits:
//   1. common words get their usual short forms (grassland "grassl.",
//      community "comm.", vegetation "veg.", ...);
//   2. infraspecific parts ("ssp. x", "var. x", "agg.", "s.l.") and
//      parenthetical remarks are dropped;
//   3. a genus followed by its epithet is cut to its initial ("C. vulgaris"),
//   4. and the blank after the initial goes ("C.vulgaris");
//   5. small words ("of", "and", "with", ...) are dropped;
//   6. the longest remaining words are cut back one letter at a time, each
//      keeping a stem of at least four letters, ending in a consonant where
//      it can, and a full stop ("capil.");
//   7. a name of two or more species drops the words after the last one
//      ("woodland": the group of the community says as much) and step 6 is
//      taken again from the whole words;
//   8. stems may shrink to three letters, if that makes the name fit;
//   9. only then are whole words dropped from the end (and a single word
//      left too long cut at the field width).
// A small hand-kept table overrides the worst results.
#pragma once

#include <set>
#include <string>

namespace nvcdata {

/// `text` with the accented Latin letters of UTF-8 replaced by plain ASCII
/// letters ("Isoëtes" becomes "Isoetes", "æ" and "œ" "ae" and "oe"), en and
/// em dashes by "-" and single quotes by "'"; other non-ASCII characters
/// (Greek letters, for one) are dropped.
std::string toAscii(const std::string& text);

/// Whether toAscii replaces every non-ASCII character of `text`, dropping
/// none.
bool turnsToAscii(const std::string& text);

class Abbreviator {
 public:
  /// `genera` are the genus names the abbreviator may cut to initials (the
  /// first words of the taxon names); some older genus names found only in
  /// the unit names are known to it already.
  explicit Abbreviator(std::set<std::string> genera);

  /// `name` shortened to at most `width` characters by the steps above; an
  /// entry of the override table for this name and width wins.
  std::string abbreviate(const std::string& name, std::size_t width) const;

  /// As abbreviate(), without the override table.
  std::string abbreviateByRule(const std::string& name, std::size_t width) const;

 private:
  std::set<std::string> genera_;
};

}  // namespace nvcdata
