// The two kinds of input of vegfit: CSV files of one row per sample and
// species, and sample files in the layout vegmatch reads and writes. Both
// end up as a SampleSet; every fault is reported with the file and line.
#pragma once

#include <functional>
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

/// True when `line` is a CSV header row naming the columns sample, species
/// and cover (the test that tells a CSV file on standard input).
bool isCsvHeader(std::string_view line);

/// A CSV cover value in tenths as sample entry holds it: a number written
/// with digits and at most one decimal point ("+" alone reads as 0, as in a
/// sample file; an empty field is 0). False for anything else, a negative
/// number, or a value too large to hold.
bool readCover(std::string_view text, float& value, short& tenths);

struct ReadSettings {
  int cover_scale = 1;  // of samples that do not say
  bool scale_given = false;
  std::string group_by;  // CSV column composing samples; empty: none
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

  /// The columns of a CSV header that vegfit reads; -1 where absent.
  struct Columns {
    int sample = -1, species = -1, cover = -1, frequency = -1, max_frequency = -1, group = -1;
  };

 private:
  class Lines;
  class CsvRecords;
  struct CsvSamples;
  // The figures of one CSV row, read and checked.
  struct CsvRow {
    std::string_view sample_name, species, group;
    float value = 0;
    short tenths = 0;
    int frequency = 1;
    int max_frequency = 0;
  };
  bool usableHeader(const Columns& c, const std::string& name, int header_line);
  void readCsvLines(Lines& lines, const std::string& name);
  // False, with the fault reported unless the row is blank, for a row that
  // gives no entry.
  bool readCsvRow(const CsvRecords& records, const Columns& c, std::size_t fields,
                  const std::string& name, int line_number, CsvRow& row);
  bool readCsvFigures(const CsvRecords& records, const Columns& c, const std::string& name,
                      int line_number, CsvRow& row);
  // The sample of a row, added when it is the first row of its sample.
  int csvSample(const CsvRow& row, const Columns& c, CsvSamples& samples, int line_number);
  // Records or checks the row's maximum frequency; false on a conflict.
  bool takeMaxFrequency(const CsvRow& row, CsvSamples& samples, int sample, const std::string& name,
                        int line_number);
  void readSampleLines(Lines& lines, const std::string& name);
  SampleInfo readSampleHeader(const std::string& raw, const std::string& name, int header_line,
                              int sample_count);
  void unmatched(int spelling, int line_number);
  void reportUnmatched(const std::string& name);
  void checkLimit(float value, int cover_scale, const std::string& name, int line);

  NameMatcher& names_;
  SampleSet& set_;
  Diagnostics& messages_;
  const ReadSettings& settings_;
  // Unmatched names of the file being read: first line and further lines.
  struct Unmatched {
    int first_line;
    int more;
  };
  std::unordered_map<int, Unmatched> unmatched_;
  std::vector<int> unmatched_order_;
};

}  // namespace vegfit
