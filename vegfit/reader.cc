#include "vegfit/reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "common/csv.h"
#include "common/fields.h"
#include "engine/entries.h"
#include "engine/parser.h"
#include "engine/sample_file.h"
#include "vegfit/covers.h"
#include "vegfit/text.h"

namespace vegfit {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kMaxFrequency = 100;  // the largest maximum frequency a sample may have
// The parts of a sample or group named by several columns are joined by
// this in the name shown; the key keeps them apart with a unit separator.
constexpr std::string_view kPartSeparator = "/";
constexpr char kKeySeparator = '\x1f';

// The names of each column a CSV file may give, folded (foldedColumnName),
// the first the column's own name; the first column of the header that
// has any of them is taken.
constexpr std::array<std::string_view, 8> kSampleNames = {
    "sample", "quadrat", "plot", "releve", "sampleid", "quadratid", "plotid", "releveid"};
constexpr std::array<std::string_view, 6> kSpeciesNames = {
    "species", "taxon", "speciesname", "scientificname", "name", "taxonname"};
constexpr std::array<std::string_view, 9> kCoverNames = {
    "cover",        "abundance", "domin",   "braunblanquet", "percentcover",
    "%cover",       "cover%",    "percent", "coverpercent"};

// True when a byte of `s` is above 0x7F: eight bytes at a time, as this
// runs for every line of a large input.
bool hasHighBytes(std::string_view s) {
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) return true;
  }
  for (; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) & 0x80) return true;
  return false;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string folded(std::string_view s) {
  std::string out;
  for (char c : trimmed(s)) out += engine::lowerAscii(c);
  return out;
}

std::string at(const std::string& name, int line) { return name + ":" + std::to_string(line); }

// A value with one decimal, in as many columns as it needs.
std::string oneDecimal(float value) {
  std::string text = veg::fmtReal(value, 12, 1);
  return text.substr(text.find_first_not_of(' '));
}

std::string quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

// A whole number from `low` to `high`; an empty field is `empty`.
bool readCount(std::string_view text, int low, int high, int empty, int& value) {
  text = trimmed(text);
  if (text.empty()) {
    value = empty;
    return true;
  }
  int number = 0;
  auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (fault != std::errc() || end != text.data() + text.size() || number < low || number > high)
    return false;
  value = number;
  return true;
}

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
bool columnsOf(const std::vector<std::string>& folded_header,
               const std::vector<std::string>& given, std::vector<int>& columns,
               std::string& missing) {
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

// The name words of a species line whose marks are removed: the first word,
// and the second unless it is a number; tabs separate words like blanks.
std::string nameWords(const std::string& input_line) {
  std::string separated = input_line;
  for (char& ch : separated)
    if (ch == '\t') ch = ' ';
  std::string_view line(separated);
  std::string words;
  std::size_t p = line.find_first_not_of(' ');
  if (p == std::string_view::npos) {
    words.assign(trimmed(input_line));  // separators only: no name to match
    return words;
  }
  std::size_t end = line.find(' ', p);
  words.assign(line.substr(p, end - p));
  p = line.find_first_not_of(' ', end);
  if (p != std::string_view::npos && !(line[p] >= '0' && line[p] <= '9')) {
    end = line.find(' ', p);
    words += ' ';
    words += line.substr(p, end - p);
  }
  return words;
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

// Reads the lines of one input, counting them, with one line that can be
// put back (the first line of standard input, read to tell its kind). A
// line that is not UTF-8 is read as Windows-1252.
class InputReader::Lines {
 public:
  explicit Lines(veg::TextFile& file) : file_(file) {}
  bool next(std::string& line) {
    if (held_) {
      held_ = false;
      line.swap(held_line_);
    } else if (!file_.readLine(line)) {
      return false;
    }
    ++number_;
    if (number_ == 1 && line.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
      line.erase(0, kByteOrderMark.size());
    if (hasHighBytes(line) && !isUtf8(line)) {
      converted_.clear();
      appendWindows1252AsUtf8(line, converted_);
      line.swap(converted_);
    }
    return true;
  }
  void putBack(std::string line) {
    held_line_ = std::move(line);
    held_ = true;
    --number_;
  }
  int number() const { return number_; }

 private:
  veg::TextFile& file_;
  std::string held_line_, converted_;
  bool held_ = false;
  int number_ = 0;
};

void InputReader::unmatched(int spelling, int line_number) {
  auto [it, added] = unmatched_.try_emplace(spelling, Unmatched{line_number, 0});
  if (added) {
    unmatched_order_.push_back(spelling);
  } else {
    ++it->second.more;
  }
}

void InputReader::reportUnmatched(const std::string& name) {
  for (int spelling : unmatched_order_) {
    const Unmatched& u = unmatched_[spelling];
    const Match& match = names_.match(spelling);
    const std::string also =
        u.more > 0 ? " (also on " + std::to_string(u.more) + " more line" + (u.more > 1 ? "s" : "") + ")"
                   : "";
    if (match.as_species) {
      messages_.warning(at(name, u.first_line),
                        quoted(names_.text(spelling)) + also + " has no row of its own: scored as " +
                            names_.shownName(match.species_number, names_.text(spelling)));
      continue;
    }
    if (match.ambiguous) {
      std::string text = "the name " + quoted(names_.text(spelling)) + also + " stands for ";
      const std::vector<std::string> candidates = names_.candidates(spelling);
      for (std::size_t i = 0; i < candidates.size(); ++i)
        text += (i == 0 ? "" : i + 1 == candidates.size() ? " or " : ", ") + candidates[i];
      messages_.warning(at(name, u.first_line),
                        text + "; left out of its sample: write the name of the one meant");
      continue;
    }
    std::string text = "no species named " + quoted(names_.text(spelling)) + also;
    text += settings_.drop_unmatched ? ", left out of its sample"
                                     : ", counted as a species of no community";
    const std::vector<std::string> close = names_.closeNames(names_.text(spelling));
    if (close.empty()) {
      text += "; no close names";
    } else {
      text += "; close names: ";
      for (std::size_t i = 0; i < close.size(); ++i) text += (i > 0 ? ", " : "") + close[i];
    }
    messages_.warning(at(name, u.first_line), text);
  }
  unmatched_.clear();
  unmatched_order_.clear();
}

void InputReader::checkLimit(float value, int cover_scale, const std::string& name, int line) {
  const float limit = engine::coverLimit(cover_scale);
  if (value > limit)
    messages_.warning(at(name, line), "cover " + oneDecimal(value) + " is above " +
                                          oneDecimal(limit) + ", the largest value of the scale");
}

void InputReader::addEntry(int sample, int spelling, int marks, int frequency, short tenths,
                           float value, const std::string& name, int line_number) {
  SampleInfo& info = set_.samples[static_cast<std::size_t>(sample)];
  const Match& match = names_.match(spelling);
  if (match.species_number == 0) {
    ++info.unmatched;
    unmatched(spelling, line_number);
    if (settings_.drop_unmatched || match.ambiguous) return;
  } else if (match.as_species) {
    unmatched(spelling, line_number);
  }
  checkLimit(value, info.cover_scale, name, line_number);
  const short code = static_cast<short>(match.species_number + engine::kMarkStep * marks);
  // A name matching no species stands in its sample for the first spelling
  // with its name key, as sample entry adds it once to the dictionary.
  const int shown = match.species_number == 0 ? match.unmatched_as : spelling;
  Seen* seen = nullptr;
  if (match.species_number != 0) {
    seen = &seen_[static_cast<std::size_t>(static_cast<unsigned short>(code))];
  } else {
    seen = &seen_unmatched_[shown * 4 + marks];
  }
  if (seen->stamp == sample) {
    repeated(sample, spelling, *seen, seen->identity == match.identity, name, line_number);
  } else {
    *seen = Seen{sample, line_number, match.identity};
  }
  set_.add({sample, shown, match.identity, code, static_cast<short>(frequency), tenths});
}

void InputReader::repeated(int sample, int spelling, const Seen& first, bool same_entry,
                           const std::string& name, int line_number) {
  const SampleInfo& info = set_.samples[static_cast<std::size_t>(sample)];
  messages_.warning(at(name, line_number),
                    quoted(names_.text(spelling)) + " is a species of sample " +
                        quoted(info.name) + " given before (lines " +
                        std::to_string(first.line) + " and " + std::to_string(line_number) +
                        "): " +
                        (same_entry ? "the later cover stands"
                                    : "the covers are added, up to 100 %"));
}

void InputReader::readCsv(veg::TextFile& file, const std::string& name) {
  Lines lines(file);
  readCsvLines(lines, name);
}

void InputReader::readSampleFile(veg::TextFile& file, const std::string& name) {
  Lines lines(file);
  readSampleLines(lines, name);
}

bool InputReader::readEither(veg::TextFile& file, const std::string& name) {
  Lines lines(file);
  std::string first;
  if (!lines.next(first)) return false;
  const bool csv = isCsvHeader(first);
  lines.putBack(std::move(first));
  if (csv) {
    readCsvLines(lines, name);
  } else {
    readSampleLines(lines, name);
  }
  return csv;
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
  std::string key, previous_key;
  int previous_sample = -1;
  std::vector<char> stated;                 // samples whose max_frequency is given
  std::vector<int> run_start, last_line;    // the current run of lines of each sample
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
    missing("for the sample (sample, quadrat, plot, releve or sample id; or name it with "
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
    if (heading == "braunblanquet") c.cover_scale = 2;
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
    messages_.error(where(), c.sample.size() > 1 ? "a column of the sample's name is empty"
                                                 : "no sample name");
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
    messages_.error(where(), "cover " + quoted(records.column(c.cover)) + " is not a value of the " +
                                 scaleName(c.cover_scale) + " scale; it takes " +
                                 acceptedCovers(c.cover_scale));
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
  // The key: the group, then the sample name's parts.
  std::string& key = samples.key;
  key.assign(row.group);
  key += kKeySeparator;
  key += c.sample.size() > 1 ? std::string_view(row.key) : row.sample_name;
  if (samples.previous_sample >= 0 && key == samples.previous_key) {
    samples.last_line[static_cast<std::size_t>(samples.previous_sample - samples.first_sample)] =
        line_number;
    return samples.previous_sample;
  }
  const std::size_t hash = NameHash{}(key);
  int sample = samples.sample_of.find(hash, [&](int known) {
    const SampleInfo& info = set_.samples[static_cast<std::size_t>(known)];
    return info.name == row.sample_name &&
           (c.group.empty() ||
            set_.group_names[static_cast<std::size_t>(info.group)] == row.group);
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
  samples.previous_key = key;
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
      messages_.error(at(name, line_number),
                      "max_frequency " + std::to_string(row.max_frequency) + " of sample " +
                          quoted(info.name) + " was " + std::to_string(info.max_frequency) +
                          " before");
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
                          lines + "); they are read as one sample. If several columns name a "
                          "sample, give them all with --sample-column (columns: " + columns + ")");
  }
}

SampleInfo InputReader::readSampleHeader(const std::string& raw, const std::string& name,
                                         int header_line, int sample_count) {
  const std::string header = engine::lineColumns(raw);
  if (set_.files.empty() || set_.files.back() != name) set_.files.push_back(name);
  SampleInfo info;
  info.file = static_cast<int>(set_.files.size()) - 1;
  info.line = header_line;
  const std::string header_at = at(name, header_line);
  info.cover_scale = settings_.cover_scale;
  const int labelled = engine::labelledScale(header);
  if (labelled != 0) {
    if (settings_.scale_given && labelled != settings_.cover_scale)
      messages_.warning(header_at, "the sample is labelled " + engine::scaleLabel(labelled) +
                                       " and is read on that scale, not on the --scale given");
    info.cover_scale = labelled;
  }
  std::string sample_name;
  int max_frequency = 0;
  engine::nameLineParts(header, sample_name, max_frequency);
  if (max_frequency > kMaxFrequency) {
    messages_.error(header_at,
                    "maximum frequency " + std::to_string(max_frequency) + " is above 100");
    max_frequency = 0;
  }
  if (veg::isBlank(sample_name)) sample_name = engine::defaultSampleName(sample_count);
  info.name = sample_name.substr(0, sample_name.find_last_not_of(' ') + 1);
  info.max_frequency = max_frequency;
  return info;
}

void InputReader::readSampleLines(Lines& lines, const std::string& name) {
  std::string raw;
  // Numbers the samples of the file as vegmatch's sample counter does: a
  // sample without a name line of its own is named after it.
  int sample_count = 1;
  bool more = lines.next(raw);
  std::string input_line, field_work, key;
  while (more) {
    // The sample is taken back if no species line follows.
    const int sample = static_cast<int>(set_.samples.size());
    set_.samples.push_back(readSampleHeader(raw, name, lines.number(), sample_count));
    const int max_frequency = set_.samples.back().max_frequency;
    int species_lines = 0;
    for (;;) {
      more = lines.next(raw);
      if (!more) break;
      const int line_number = lines.number();
      input_line = engine::lineColumns(raw);
      const std::string saved_line = input_line;
      const int marks = engine::removeMarks(input_line);
      int frequency = 1;
      float value = 0;
      bool bad = false;
      engine::parseSpeciesLine(input_line, field_work, key, max_frequency, frequency, value, bad);
      if (veg::isBlank(key)) {
        more = lines.next(raw);
        break;
      }
      ++species_lines;
      if (bad) {
        messages_.error(at(name, line_number), "species line " + quoted(trimmed(saved_line)) +
                                                   " does not read as name, " +
                                                   (max_frequency > 0 ? "frequency, " : "") +
                                                   "value");
        continue;
      }
      short tenths = 0;
      engine::heldTenths(value, tenths);  // the parser has refused values that do not fit
      addEntry(sample, names_.spelling(nameWords(input_line)), marks, frequency, tenths, value,
               name, line_number);
    }
    // A sample without species lines is passed over, as vegmatch does.
    if (species_lines > 0) {
      if (on_samples) on_samples(set_.samples.size());
    } else {
      set_.samples.pop_back();
    }
    ++sample_count;
  }
  reportUnmatched(name);
}

}  // namespace vegfit
