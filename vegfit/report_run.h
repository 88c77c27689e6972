// The HTML report of a run (--format html): the run scores its rows as
// JSON with every result explained, into memory; here the stands' tables
// are scored too (with --group-by), and what the run knows beside the
// results (files, settings, the data's version, the date, its messages,
// the names not taken as written) is gathered for the report (report.h).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/files.h"
#include "vegfit/names.h"
#include "vegfit/options.h"
#include "vegfit/report.h"
#include "vegfit/results.h"
#include "vegfit/samples.h"

namespace vegfit {

/// A text file in memory: what is written to it is kept in `text`.
class TextBuffer : public veg::TextFile {
 public:
  bool readLine(std::string&) override { return false; }
  void writeLine(std::string_view line) override {
    text += line;
    text += '\n';
  }
  void writeText(std::string_view more) override { text += more; }
  void rewind() override {}
  void flush() override {}
  std::string text;
};

/// The options a run scores with: for --format html JSON rows with every
/// result explained and no stand tables; `given` itself otherwise.
Options scoringOptions(const Options& given);

/// What the report of a run is made from, besides its rows.
struct ReportSources {
  const Reference& reference;
  const NameMatcher& names;
  const Diagnostics& messages;
  std::shared_ptr<const SampleSet> set;  // as scored: with --group-by the stands
};

/// The report of a run with the options `given`: `rows` is the JSON array
/// of its rows as scoringOptions(given) writes them; with --group-by the
/// stands' tables are scored here from `sources.set`.
std::string runReport(const std::string& rows, const Options& given, const ReportSources& sources);

/// What the options set, as the report's front page lists them.
std::vector<std::pair<std::string, std::string>> settingsOf(const Options& options);

/// The names of the input not scored as written, in the order first met:
/// those matching no species or two or more (with how they were counted),
/// then synonyms, names found by their key and infraspecific names scored
/// as their species. A name that differs from its species' only in letter
/// case, accents, blanks, qualifiers or an authority is not one of them.
std::vector<NameNote> nameNotes(const NameMatcher& names, bool drop_unmatched);

/// The report's date, "2025-12-10": that of $SOURCE_DATE_EPOCH when it is
/// set (a reproducible report), else today's.
std::string reportDate();

}  // namespace vegfit
