// The HTML report of vegfit (--format html): one self-contained document,
// its style sheet and charts inline, that reads without scripts or network
// and prints on A4 one sample (or stand) to a page. It is rendered from the
// suite's JSON model of the results, the rows of --format json with every
// result explained and, with --group-by, the stand tables of --table, so
// that it says nothing the other outputs do not.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace vegfit {

/// A message of the run as standard error showed it.
struct ReportMessage {
  std::string where;  // "file:line", or empty for the program's own
  std::string kind;   // "warning" or "note"
  std::string text;
};

/// A name of the input that was not taken as written.
struct NameNote {
  std::string written;
  std::string species;  // the species it was scored as; empty: none
  std::string how;      // "synonym", "name key", "its species" (infraspecific),
                        // "no species" or "two or more species"
};

/// What the report says of the run besides the results.
struct ReportInfo {
  std::vector<std::string> files;
  /// What the options set, as (setting, value) lines.
  std::vector<std::pair<std::string, std::string>> settings;
  std::string data_version;  // empty: not known
  std::string date;
  /// The columns whose values, joined by "/", name each sample (with
  /// --group-by each stand); empty when one column or a sample file does.
  std::vector<std::string> name_columns;
  bool stands = false;                  // the samples are stands composed by --group-by
  std::vector<ReportMessage> messages;  // the first of them, as shown
  int warnings = 0;                     // warnings in all
  std::vector<NameNote> names;
};

/// Names, samples and messages listed in the notes at most; the rest are
/// counted.
inline constexpr std::size_t kListedNotes = 100;

/// The report of `rows` (an array of result rows, each explained:
/// species_account and missing_constants) and `stands` (an array of stand
/// tables, matched to the rows by file and sample; empty without
/// --group-by): the front page (files, settings, data version, date,
/// counts, notes), the overview (every sample's best community, the spread
/// of best communities by major type, and by site and year where the names
/// tell them), then one page per sample.
std::string renderReport(const nlohmann::json& rows, const nlohmann::json& stands,
                         const ReportInfo& info);

/// Which parts of the sample names (their values of `columns`, joined by
/// "/") tell the site and the year: a column named site, site name,
/// location, locality, area or reserve, and one named year, survey year or
/// date, or whose every value is a year (four digits, 1800 to 2199); in
/// the order of the columns. Empty for fewer than two columns, or when
/// no column tells either.
std::vector<std::size_t> siteYearParts(const std::vector<std::string>& columns,
                                       const std::vector<std::string>& sample_names);

/// The major type of an NVC code: its leading letters ("MG" of "MG5a").
std::string majorType(const std::string& code);

}  // namespace vegfit
