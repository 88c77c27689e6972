// The CSV half of InputReader (vegfit/reader.h): the header row and its
// columns, the records, the samples they name and the checks of every row.
#include <array>
#include <map>

#include "common/csv.h"
#include "vegfit/covers.h"
#include "vegfit/input_lines.h"
#include "vegfit/reader.h"
#include "vegfit/text.h"

namespace vegfit {

namespace {

using input::at;
using input::folded;
using input::kByteOrderMark;
using input::kKeySeparator;
using input::kMaxFrequency;
using input::kPartSeparator;
using input::quoted;
using input::readCount;
using input::trimmed;

// The names of each column a CSV file may give, folded (foldedColumnName),
// the first the column's own name; the first column of the header that
// has any of them is taken.
constexpr std::array<std::string_view, 8> kSampleNames = {
    "sample", "quadrat", "plot", "releve", "sampleid", "quadratid", "plotid", "releveid"};
constexpr std::array<std::string_view, 6> kSpeciesNames = {"species",        "taxon", "speciesname",
                                                           "scientificname", "name",  "taxonname"};
constexpr std::array<std::string_view, 11> kCoverNames = {
    "cover",   "abundance", "domin",        "braunblanquet", "bb",      "percentcover",
    "%cover",  "cover%",    "cover(%)",     "percent",       "coverpercent"};

// The first column of `folded_header` named `given`, or else by one of
// `names` (in their order of preference); -1 for none.
template <std::size_t N>
int columnOf(const std::vector<std::string>& folded_header, const std::string& given,
             const std::array<std::string_view, N>& names) {
  auto find = [&](std::string_view name) {
    for (std::size_t i = 0; i < folded_header.size(); ++i)
      if (folded_header[i] == name) return static_cast<int>(i);
    return -1;
  };
  if (!given.empty()) return find(foldedColumnName(given));
  for (std::string_view name : names) {
    const int i = find(name);
    if (i >= 0) return i;
  }
  return -1;
}

// The columns named in a list; false, with the missing name, for a name
// the header lacks.
bool columnsOf(const std::vector<std::string>& folded_header, const std::vector<std::string>& given,
               std::vector<int>& columns, std::string& missing) {
  columns.clear();
  for (const std::string& name : given) {
    const int i = columnOf(folded_header, name, std::array<std::string_view, 0>{});
    if (i < 0) {
      missing = name;
      return false;
    }
    columns.push_back(i);
  }
  return true;
}

std::vector<std::string> foldedHeader(const std::vector<std::string>& header) {
  std::vector<std::string> out;
  for (const std::string& name : header) out.push_back(foldedColumnName(name));
  return out;
}

// The name of a sample or group given by several columns: the parts
// joined by kPartSeparator, and its key.
void joinParts(const std::vector<std::string_view>& parts, std::string& name, std::string& key) {
  name.clear();
  key.clear();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      name += kPartSeparator;
      key += kKeySeparator;
    }
    name += parts[i];
    key += parts[i];
  }
}

}  // namespace

bool isCsvName(std::string_view name) {
  return name.size() > 4 && folded(name.substr(name.size() - 4)) == ".csv";
}

char findSeparator(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return '\t';
  const auto count = [&](char c) { return std::count(header.begin(), header.end(), c); };
  return count(';') > count(',') ? ';' : ',';
}

bool isCsvHeader(std::string_view line) {
  if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    line.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> fields;
  std::size_t pos = 0;
  if (!veg::splitRecord(line, pos, fields, findSeparator(line))) return false;
  const std::vector<std::string> names = foldedHeader(fields);
  return columnOf(names, "", kSampleNames) >= 0 && columnOf(names, "", kSpeciesNames) >= 0 &&
         columnOf(names, "", kCoverNames) >= 0;
}

// The records of a CSV file, each cut into its fields at the file's
// separator; a record runs on over the next lines while a quoted field
// does. Most records hold no quotes and are cut up where they stand.
class InputReader::CsvRecords {
 public:
  CsvRecords(Lines& lines, Diagnostics& messages, const std::string& name, char separator)
      : lines_(lines), messages_(messages), name_(name), separator_(separator) {}

  /// Reads the next record; `start` receives the number of its first line.
  bool next(int& start) {
    if (!lines_.next(record_)) return false;
    start = lines_.number();
    if (veg::splitPlainRecord(record_, fields_, separator_)) return true;
    for (;;) {
      std::size_t pos = 0;
      if (veg::splitRecord(record_, pos, quoted_fields_, separator_)) break;
      if (!lines_.next(line_)) {
        messages_.error(at(name_, start), "quote not closed before the end of the file");
        quoted_fields_.clear();
        break;
      }
      record_ += '\n';
      record_ += line_;
    }
    fields_.assign(quoted_fields_.begin(), quoted_fields_.end());
    return true;
  }
  /// True when every field of the record is blank.
  bool blank() const {
    for (std::string_view f : fields_)
      if (!trimmed(f).empty()) return false;
    return true;
  }
  const std::vector<std::string_view>& fields() const { return fields_; }
  /// Field `i`, without the blanks around it.
  std::string_view column(int i) const { return trimmed(fields_[static_cast<std::size_t>(i)]); }

 private:
  Lines& lines_;
  Diagnostics& messages_;
  const std::string& name_;
  char separator_;
  std::string line_, record_;
  std::vector<std::string> quoted_fields_;
  std::vector<std::string_view> fields_;
};

// The samples of one CSV file by group and name: quadrats of different
// groups may share a name. Rows of one sample usually follow each other, so
// the last one found is tried first. A sample whose rows are interrupted by
// other samples' rows keeps its runs of lines, for the warning.
struct InputReader::CsvSamples {
  int file = 0;
  int first_sample = 0;  // the file's first sample in the set
  bool frequency_data = false;
  HashIndex sample_of;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> group_of;
  std::string key, previous_name, previous_group;
  int previous_sample = -1;
  std::vector<char> stated;                              // samples whose max_frequency is given
  std::vector<int> run_start, last_line;                 // the current run of lines of each sample
  std::map<int, std::vector<std::pair<int, int>>> runs;  // of interrupted samples
};

bool InputReader::findColumns(const std::vector<std::string>& header, const std::string& name,
                              int header_line, Columns& c) {
  const std::vector<std::string> names = foldedHeader(header);
  const std::string where = at(name, header_line);
  bool usable = true;
  auto missing = [&](const std::string& what) {
    messages_.error(where, "the header row has no column " + what +
                               (header.size() == 1 ? " (it reads as one column: give the "
                                                     "separator with --separator)"
                                                   : ""));
    usable = false;
  };
  std::string absent;
  if (!settings_.sample_columns.empty()) {
    if (!columnsOf(names, settings_.sample_columns, c.sample, absent))
      missing(quoted(absent) + " given by --sample-column");
  } else if (const int i = columnOf(names, "", kSampleNames); i >= 0) {
    c.sample = {i};
  } else {
    missing(
        "for the sample (sample, quadrat, plot, releve or sample id; or name it with "
        "--sample-column)");
  }
  c.species = columnOf(names, settings_.species_column, kSpeciesNames);
  if (c.species < 0)
    missing(settings_.species_column.empty()
                ? "for the species (species, taxon, species name or scientific name; or name "
                  "it with --species-column)"
                : quoted(settings_.species_column) + " given by --species-column");
  c.cover = columnOf(names, settings_.cover_column, kCoverNames);
  if (c.cover < 0)
    missing(settings_.cover_column.empty()
                ? "for the cover (cover, abundance, domin or percent cover; or name it with "
                  "--cover-column)"
                : quoted(settings_.cover_column) + " given by --cover-column");
  c.frequency = columnOf(names, "", std::array<std::string_view, 1>{"frequency"});
  c.max_frequency = columnOf(names, "", std::array<std::string_view, 1>{"maxfrequency"});
  // A column headed by a scale's name holds values of that scale.
  c.cover_scale = settings_.cover_scale;
  if (c.cover >= 0 && !settings_.scale_given) {
    const std::string& heading = names[static_cast<std::size_t>(c.cover)];
    if (heading == "domin") c.cover_scale = 3;
    if (heading == "braunblanquet" || heading == "bb") c.cover_scale = 2;
  }
  if (settings_.group_by.empty()) return usable;
  if (!columnsOf(names, settings_.group_by, c.group, absent)) {
    messages_.error(where, "the header row has no column " + quoted(absent) + " to group by");
    usable = false;
  }
  if (c.frequency >= 0 || c.max_frequency >= 0) {
    messages_.error(where, "--group-by composes the frequencies; the input may not give them");
    usable = false;
  }
  return usable;
}

void InputReader::readCsvLines(Lines& lines, const std::string& name) {
  std::string first;
  if (!lines.next(first)) {
    messages_.error(name, "no header row");
    return;
  }
  const char separator = settings_.separator != 0 ? settings_.separator : findSeparator(first);
  lines.putBack(std::move(first));
  CsvRecords records(lines, messages_, name, separator);
  int header_line = 0;
  std::vector<std::string> header;
  while (records.next(header_line)) {
    if (!records.blank()) {
      header.assign(records.fields().begin(), records.fields().end());
      break;
    }
  }
  Columns c;
  if (header.empty()) {
    messages_.error(name, "no header row");
    return;
  }
  if (!findColumns(header, name, header_line, c)) return;

  if (set_.files.empty() || set_.files.back() != name) set_.files.push_back(name);
  CsvSamples samples;
  samples.file = static_cast<int>(set_.files.size()) - 1;
  samples.first_sample = static_cast<int>(set_.samples.size());
  samples.frequency_data = c.frequency >= 0 || c.max_frequency >= 0;
  decimal_comma_ = separator != ',';
  CsvRow row;
  int line_number = 0;
  while (records.next(line_number)) {
    if (!readCsvRow(records, c, header.size(), name, line_number, row)) continue;
    const int sample = csvSample(row, c, samples, line_number);
    if (!takeMaxFrequency(row, samples, sample, name, line_number)) continue;
    addEntry(sample, names_.spelling(row.species), 0, row.frequency, row.tenths, row.value, name,
             line_number);
  }
  if (on_samples) on_samples(set_.samples.size());
  reportRuns(samples, header, c, name);
  reportUnmatched(name);
}

bool InputReader::readCsvRow(const CsvRecords& records, const Columns& c, std::size_t fields,
                             const std::string& name, int line_number, CsvRow& row) {
  const auto where = [&] { return at(name, line_number); };
  if (records.fields().empty()) return false;
  if (records.fields().size() != fields) {
    if (records.blank()) return false;
    messages_.error(where(), std::to_string(records.fields().size()) +
                                 " fields, the header row has " + std::to_string(fields));
    return false;
  }
  // A sample or group of several columns is named by their values joined.
  std::vector<std::string_view>& parts = parts_;
  auto gather = [&](const std::vector<int>& columns, std::string& joined, std::string& key) {
    if (columns.size() == 1) return records.column(columns.front());
    parts.clear();
    for (int i : columns) {
      parts.push_back(records.column(i));
      if (parts.back().empty()) return std::string_view();
    }
    joinParts(parts, joined, key);
    return std::string_view(joined);
  };
  row.sample_name = gather(c.sample, row.joined_name, row.key);
  row.species = records.column(c.species);
  row.group =
      c.group.empty() ? std::string_view() : gather(c.group, row.joined_group, row.group_key);
  if ((row.sample_name.empty() || row.species.empty()) && records.blank()) return false;
  if (row.sample_name.empty()) {
    messages_.error(
        where(), c.sample.size() > 1 ? "a column of the sample's name is empty" : "no sample name");
    return false;
  }
  if (row.species.empty()) {
    messages_.error(where(), "no species name");
    return false;
  }
  if (!c.group.empty() && row.group.empty()) {
    messages_.error(where(), settings_.group_by.size() == 1
                                 ? "no value in the column " + quoted(settings_.group_by.front())
                                 : std::string("no value in a column to group by"));
    return false;
  }
  return readCsvFigures(records, c, name, line_number, row);
}

bool InputReader::readCsvFigures(const CsvRecords& records, const Columns& c,
                                 const std::string& name, int line_number, CsvRow& row) {
  const auto where = [&] { return at(name, line_number); };
  const CoverKind kind =
      readCover(records.column(c.cover), c.cover_scale, decimal_comma_, row.value, row.tenths);
  if (kind == CoverKind::kBad) {
    messages_.error(where(), "cover " + quoted(records.column(c.cover)) +
                                 " is not a value of the " + scaleName(c.cover_scale) +
                                 " scale; it takes " + acceptedCovers(c.cover_scale));
    return false;
  }
  if (kind == CoverKind::kPresence) ++presence_only_;
  row.frequency = 1;
  if (c.frequency >= 0 &&
      !readCount(records.column(c.frequency), 0, kMaxFrequency, 1, row.frequency)) {
    messages_.error(where(), "frequency " + quoted(records.column(c.frequency)) +
                                 " is not a whole number from 0 to 100");
    return false;
  }
  row.max_frequency = 0;
  if (c.max_frequency >= 0 &&
      (!readCount(records.column(c.max_frequency), 1, kMaxFrequency, 0, row.max_frequency) ||
       row.max_frequency == 0)) {
    messages_.error(where(), "max_frequency " + quoted(records.column(c.max_frequency)) +
                                 " is not a whole number from 1 to 100");
    return false;
  }
  if (row.max_frequency > 0 && row.frequency > row.max_frequency) {
    messages_.error(where(), "frequency " + std::to_string(row.frequency) +
                                 " is above the maximum frequency " +
                                 std::to_string(row.max_frequency));
    return false;
  }
  return true;
}

int InputReader::csvSample(CsvRow& row, const Columns& c, CsvSamples& samples, int line_number) {
  if (samples.previous_sample >= 0 && row.sample_name == samples.previous_name &&
      row.group == samples.previous_group) {
    samples.last_line[static_cast<std::size_t>(samples.previous_sample - samples.first_sample)] =
        line_number;
    return samples.previous_sample;
  }
  // The key: the group, then the sample name's parts.
  std::string& key = samples.key;
  key.assign(row.group);
  key += kKeySeparator;
  key += c.sample.size() > 1 ? std::string_view(row.key) : row.sample_name;
  const std::size_t hash = NameHash{}(key);
  int sample = samples.sample_of.find(hash, [&](int known) {
    const SampleInfo& info = set_.samples[static_cast<std::size_t>(known)];
    return info.name == row.sample_name &&
           (c.group.empty() || set_.group_names[static_cast<std::size_t>(info.group)] == row.group);
  });
  if (sample >= 0) {
    // Back to a sample met before: its rows are not together.
    const std::size_t local = static_cast<std::size_t>(sample - samples.first_sample);
    std::vector<std::pair<int, int>>& runs = samples.runs[sample];
    runs.emplace_back(samples.run_start[local], samples.last_line[local]);
    samples.run_start[local] = samples.last_line[local] = line_number;
  } else {
    sample = static_cast<int>(set_.samples.size());
    if (on_samples) on_samples(set_.samples.size());
    SampleInfo info;
    info.name = row.sample_name;
    info.cover_scale = c.cover_scale;
    info.max_frequency = samples.frequency_data ? 1 : 0;
    info.file = samples.file;
    info.line = line_number;
    if (!c.group.empty()) {
      auto [g, added] = samples.group_of.try_emplace(std::string(row.group),
                                                     static_cast<int>(set_.group_names.size()));
      if (added) set_.group_names.emplace_back(row.group);
      info.group = g->second;
    }
    set_.samples.push_back(std::move(info));
    samples.stated.push_back(0);
    samples.run_start.push_back(line_number);
    samples.last_line.push_back(line_number);
    samples.sample_of.add(hash, sample);
  }
  samples.previous_name = row.sample_name;
  samples.previous_group = row.group;
  samples.previous_sample = sample;
  return sample;
}

bool InputReader::takeMaxFrequency(const CsvRow& row, CsvSamples& samples, int sample,
                                   const std::string& name, int line_number) {
  SampleInfo& info = set_.samples[static_cast<std::size_t>(sample)];
  if (row.max_frequency > 0) {
    // Every row of a sample states the same maximum frequency.
    char& given = samples.stated[static_cast<std::size_t>(sample - samples.first_sample)];
    if (!given) {
      info.max_frequency = row.max_frequency;
      given = 1;
    } else if (info.max_frequency != row.max_frequency) {
      messages_.error(at(name, line_number), "max_frequency " + std::to_string(row.max_frequency) +
                                                 " of sample " + quoted(info.name) + " was " +
                                                 std::to_string(info.max_frequency) + " before");
      return false;
    }
  } else if (samples.frequency_data && row.frequency > info.max_frequency) {
    // Without the max_frequency column, the largest frequency given.
    info.max_frequency = row.frequency;
  }
  return true;
}

// One warning for each sample whose rows came in several runs, with the
// runs' lines and the columns that might name samples apart.
void InputReader::reportRuns(const CsvSamples& samples, const std::vector<std::string>& header,
                             const Columns& c, const std::string& name) {
  if (samples.runs.empty()) return;
  std::string columns;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const int col = static_cast<int>(i);
    if (col == c.species || col == c.cover || col == c.frequency || col == c.max_frequency)
      continue;
    columns += (columns.empty() ? "" : ", ") + std::string(trimmed(header[i]));
  }
  for (const auto& [sample, earlier] : samples.runs) {
    const std::size_t local = static_cast<std::size_t>(sample - samples.first_sample);
    std::vector<std::pair<int, int>> runs = earlier;
    runs.emplace_back(samples.run_start[local], samples.last_line[local]);
    std::string lines;
    for (std::size_t r = 0; r < runs.size() && r < 4; ++r) {
      lines += (r > 0 ? ", " : "") + std::to_string(runs[r].first);
      if (runs[r].second != runs[r].first) lines += "-" + std::to_string(runs[r].second);
    }
    if (runs.size() > 4) lines += " and " + std::to_string(runs.size() - 4) + " more";
    const SampleInfo& info = set_.samples[static_cast<std::size_t>(sample)];
    messages_.warning(at(name, runs.front().first),
                      "the rows of sample " + quoted(info.name) + " are not together (lines " +
                          lines +
                          "); they are read as one sample. If several columns name a "
                          "sample, give them all with --sample-column (columns: " +
                          columns + ")");
  }
}

}  // namespace vegfit
