// The two kinds of input of vegfit: CSV files of one row per sample and
// species, and sample files in the layout vegmatch reads and writes. Both
// end up as a SampleSet; every fault is reported with the file and line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/files.h"
#include "vegfit/names.h"
#include "vegfit/samples.h"

namespace vegfit {

/// A CSV file by its name: one ending in ".csv", in any case.
bool isCsvName(std::string_view name);

/// True when `line` is a CSV header row naming columns of the sample, the
/// species and the cover (the test that tells a CSV file on standard
/// input), with any of the separators and column names the reader takes.
bool isCsvHeader(std::string_view line);

/// The separator of a CSV file from its header row: a tab if it holds one,
/// else a semicolon if it holds more semicolons than commas, else a comma.
char findSeparator(std::string_view header);

struct ReadSettings {
  int cover_scale = 1;  // of samples that do not say
  bool scale_given = false;
  std::vector<std::string> sample_columns;   // empty: the column found by its name
  std::string species_column, cover_column;  // empty: found by their names
  char separator = 0;                        // 0: found from the header row
  std::vector<std::string> group_by;         // CSV columns composing samples; empty: none
  bool drop_unmatched = false;               // names matching no species are left out
};

class InputReader {
 public:
  InputReader(NameMatcher& names, SampleSet& set, Diagnostics& messages,
              const ReadSettings& settings)
      : names_(names), set_(set), messages_(messages), settings_(settings) {}

  /// Called with the number of samples read whole so far (samples 0 up to
  /// it get no further lines unless the input is scattered, see
  /// SampleSet::scattered).
  std::function<void(std::size_t)> on_samples;

  /// Reads a CSV file; `name` names it in messages.
  void readCsv(veg::TextFile& file, const std::string& name);
  /// Reads a sample file.
  void readSampleFile(veg::TextFile& file, const std::string& name);
  /// Reads standard input: CSV when its first line is a CSV header, a
  /// sample file otherwise. True when it was CSV.
  bool readEither(veg::TextFile& file, const std::string& name);

  /// Rows and lines read so far that give no cover (present only).
  long long presenceOnly() const { return presence_only_; }

  /// The columns of a CSV header that vegfit reads; -1 where absent.
  struct Columns {
    std::vector<int> sample, group;
    int species = -1, cover = -1, frequency = -1, max_frequency = -1;
    int cover_scale = 1;  // of this file's rows
  };

 private:
  class Lines;
  class CsvRecords;
  struct CsvSamples;
  // The figures of one CSV row, read and checked.
  struct CsvRow {
    std::string_view sample_name, species, group;
    std::string joined_name, joined_group, key, group_key;  // of several columns
    float value = 0;
    short tenths = 0;
    int frequency = 1;
    int max_frequency = 0;
  };
  // A species met before in the sample being read: its line and entry.
  struct Seen {
    int stamp = -1;
    int line = 0;
    short identity = 0;
  };

  bool findColumns(const std::vector<std::string>& header, const std::string& name, int header_line,
                   Columns& c);
  void readCsvLines(Lines& lines, const std::string& name);
  // False, with the fault reported unless the row is blank, for a row that
  // gives no entry.
  bool readCsvRow(const CsvRecords& records, const Columns& c, std::size_t fields,
                  const std::string& name, int line_number, CsvRow& row);
  bool readCsvFigures(const CsvRecords& records, const Columns& c, const std::string& name,
                      int line_number, CsvRow& row);
  // The sample of a row, added when it is the first row of its sample.
  int csvSample(CsvRow& row, const Columns& c, CsvSamples& samples, int line_number);
  // Records or checks the row's maximum frequency; false on a conflict.
  bool takeMaxFrequency(const CsvRow& row, CsvSamples& samples, int sample, const std::string& name,
                        int line_number);
  void reportRuns(const CsvSamples& samples, const std::vector<std::string>& header,
                  const Columns& c, const std::string& name);
  void readSampleLines(Lines& lines, const std::string& name);
  SampleInfo readSampleHeader(const std::string& raw, const std::string& name, int header_line,
                              int sample_count);
  // Adds one species line of `sample` to the set: unmatched names are
  // counted (or left out with drop_unmatched), repeats reported.
  void addEntry(int sample, int spelling, int marks, int frequency, short tenths, float value,
                const std::string& name, int line_number);
  void repeated(int sample, int spelling, const Seen& first, bool same_entry,
                const std::string& name, int line_number);
  void unmatched(int spelling, int line_number);
  void reportUnmatched(const std::string& name);
  void checkLimit(float value, int cover_scale, const std::string& name, int line);

  NameMatcher& names_;
  SampleSet& set_;
  Diagnostics& messages_;
  const ReadSettings& settings_;
  long long presence_only_ = 0;
  bool decimal_comma_ = false;           // of the CSV file being read
  std::vector<std::string_view> parts_;  // of a name given by several columns
  // Unmatched names of the file being read: first line and further lines.
  struct Unmatched {
    int first_line;
    int more;
  };
  std::unordered_map<int, Unmatched> unmatched_;
  std::vector<int> unmatched_order_;
  // The species met in the sample being read, by species code, and the
  // unmatched names by spelling: the stamp tells the sample.
  std::vector<Seen> seen_ = std::vector<Seen>(32768);
  std::unordered_map<int, Seen> seen_unmatched_;
  int stamp_ = -1;
};

}  // namespace vegfit
