#include "vegfit/reader.h"

#include <algorithm>
#include <charconv>

#include "common/csv.h"
#include "common/fields.h"
#include "engine/entries.h"
#include "engine/parser.h"
#include "engine/sample_file.h"

namespace vegfit {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kMaxFrequency = 100;  // the largest maximum frequency a sample may have

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

InputReader::Columns findColumns(const std::vector<std::string>& header,
                                 const std::string& group_by) {
  InputReader::Columns c;
  const std::string group = folded(group_by);
  for (int i = static_cast<int>(header.size()) - 1; i >= 0; --i) {
    const std::string name = folded(header[static_cast<std::size_t>(i)]);
    if (name == "sample") c.sample = i;
    if (name == "species") c.species = i;
    if (name == "cover") c.cover = i;
    if (name == "frequency") c.frequency = i;
    if (name == "max_frequency") c.max_frequency = i;
    if (!group.empty() && name == group) c.group = i;
  }
  return c;
}

}  // namespace

bool isCsvName(std::string_view name) {
  return name.size() > 4 && folded(name.substr(name.size() - 4)) == ".csv";
}

bool isCsvHeader(std::string_view line) {
  if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    line.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> fields;
  std::size_t pos = 0;
  if (!veg::splitRecord(line, pos, fields)) return false;
  InputReader::Columns c = findColumns(fields, "");
  return c.sample >= 0 && c.species >= 0 && c.cover >= 0;
}

bool readCover(std::string_view text, float& value, short& tenths) {
  text = trimmed(text);
  // Whole numbers of up to four digits, most covers, read directly.
  if (!text.empty() && text.size() <= 4 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int whole = 0;
    for (char c : text) whole = whole * 10 + (c - '0');
    value = static_cast<float>(whole);
    return engine::heldTenths(value, tenths);
  }
  double number = 0;
  if (text.empty() || text == "+") {
    number = 0;
  } else {
    int digits = 0, points = 0;
    for (char c : text) {
      if (c >= '0' && c <= '9') {
        ++digits;
      } else if (c == '.') {
        ++points;
      } else {
        return false;
      }
    }
    if (digits == 0 || points > 1) return false;
    auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (fault != std::errc() || end != text.data() + text.size() || !(number < 1e7)) return false;
  }
  // The value as the species line parser hands it on, then held as sample
  // entry holds it.
  value = static_cast<float>(number);
  return engine::heldTenths(value, tenths);
}

// Reads the lines of one input, counting them, with one line that can be
// put back (the first line of standard input, read to tell its kind).
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
  std::string held_line_;
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
    std::string text = "no species named " + quoted(names_.text(spelling));
    if (u.more > 0)
      text += " (also on " + std::to_string(u.more) + " more line" + (u.more > 1 ? "s" : "") + ")";
    text += ", left out of its sample";
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

// The records of a CSV file, each cut into its fields; a record runs on
// over the next lines while a quoted field does. Most records hold no
// quotes and are cut up where they stand.
class InputReader::CsvRecords {
 public:
  CsvRecords(Lines& lines, Diagnostics& messages, const std::string& name)
      : lines_(lines), messages_(messages), name_(name) {}

  /// Reads the next record; `start` receives the number of its first line.
  bool next(int& start) {
    if (!lines_.next(record_)) return false;
    start = lines_.number();
    if (veg::splitPlainRecord(record_, fields_)) return true;
    for (;;) {
      std::size_t pos = 0;
      if (veg::splitRecord(record_, pos, quoted_fields_)) break;
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
  std::string line_, record_;
  std::vector<std::string> quoted_fields_;
  std::vector<std::string_view> fields_;
};

// The samples of one CSV file by group and name: quadrats of different
// groups may share a name. Rows of one sample usually follow each other, so
// the last one found is tried first.
struct InputReader::CsvSamples {
  int file = 0;
  bool frequency_data = false;
  HashIndex sample_of;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> group_of;
  std::string key, previous_name, previous_group;
  int previous_sample = -1;
  std::vector<char> stated;  // samples whose max_frequency is given
};

void InputReader::readCsvLines(Lines& lines, const std::string& name) {
  CsvRecords records(lines, messages_, name);
  int header_line = 0;
  std::vector<std::string> header;
  while (records.next(header_line)) {
    if (!records.blank()) {
      header.assign(records.fields().begin(), records.fields().end());
      break;
    }
  }
  if (header.empty()) {
    messages_.error(name, "no header row");
    return;
  }
  const Columns c = findColumns(header, settings_.group_by);
  if (!usableHeader(c, name, header_line)) return;

  if (set_.files.empty() || set_.files.back() != name) set_.files.push_back(name);
  CsvSamples samples;
  samples.file = static_cast<int>(set_.files.size()) - 1;
  samples.frequency_data = c.frequency >= 0 || c.max_frequency >= 0;
  CsvRow row;
  int line_number = 0;
  while (records.next(line_number)) {
    if (!readCsvRow(records, c, header.size(), name, line_number, row)) continue;
    const int sample = csvSample(row, c, samples, line_number);
    SampleInfo& info = set_.samples[static_cast<std::size_t>(sample)];
    if (!takeMaxFrequency(row, samples, sample, name, line_number)) continue;

    const int spelling = names_.spelling(row.species);
    const Match& match = names_.match(spelling);
    if (match.species_number == 0) {
      ++info.unmatched;
      unmatched(spelling, line_number);
      continue;
    }
    checkLimit(row.value, info.cover_scale, name, line_number);
    set_.add({sample, spelling, match.identity, static_cast<short>(match.species_number),
              static_cast<short>(row.frequency), row.tenths});
  }
  if (on_samples) on_samples(set_.samples.size());
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
  row.sample_name = records.column(c.sample);
  row.species = records.column(c.species);
  row.group = c.group >= 0 ? records.column(c.group) : std::string_view();
  if ((row.sample_name.empty() || row.species.empty()) && records.blank()) return false;
  if (row.sample_name.empty()) {
    messages_.error(where(), "no sample name");
    return false;
  }
  if (row.species.empty()) {
    messages_.error(where(), "no species name");
    return false;
  }
  if (c.group >= 0 && row.group.empty()) {
    messages_.error(where(), "no value in the column " + quoted(settings_.group_by));
    return false;
  }
  return readCsvFigures(records, c, name, line_number, row);
}

bool InputReader::readCsvFigures(const CsvRecords& records, const Columns& c,
                                 const std::string& name, int line_number, CsvRow& row) {
  const auto where = [&] { return at(name, line_number); };
  row.value = 0;
  row.tenths = 0;
  if (!readCover(records.column(c.cover), row.value, row.tenths)) {
    messages_.error(where(), "cover " + quoted(records.column(c.cover)) +
                                 " is not a number of 0 or more (up to 3276.7)");
    return false;
  }
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

int InputReader::csvSample(const CsvRow& row, const Columns& c, CsvSamples& samples,
                           int line_number) {
  if (samples.previous_sample >= 0 && row.sample_name == samples.previous_name &&
      row.group == samples.previous_group)
    return samples.previous_sample;
  samples.key.assign(row.group);
  samples.key += '\x1f';
  samples.key += row.sample_name;
  const std::size_t hash = NameHash{}(samples.key);
  int sample = samples.sample_of.find(hash, [&](int known) {
    const SampleInfo& info = set_.samples[static_cast<std::size_t>(known)];
    return info.name == row.sample_name &&
           (c.group < 0 || set_.group_names[static_cast<std::size_t>(info.group)] == row.group);
  });
  if (sample < 0) {
    sample = static_cast<int>(set_.samples.size());
    if (on_samples) on_samples(set_.samples.size());
    SampleInfo info;
    info.name = row.sample_name;
    info.cover_scale = settings_.cover_scale;
    info.max_frequency = samples.frequency_data ? 1 : 0;
    info.file = samples.file;
    info.line = line_number;
    if (c.group >= 0) {
      auto [g, added] = samples.group_of.try_emplace(std::string(row.group),
                                                     static_cast<int>(set_.group_names.size()));
      if (added) set_.group_names.emplace_back(row.group);
      info.group = g->second;
    }
    set_.samples.push_back(std::move(info));
    samples.stated.push_back(0);
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
    char& given = samples.stated[static_cast<std::size_t>(sample)];
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

bool InputReader::usableHeader(const Columns& c, const std::string& name, int header_line) {
  bool usable = true;
  const std::string where = at(name, header_line);
  for (auto [column, label] : {std::pair{c.sample, "sample"}, std::pair{c.species, "species"},
                               std::pair{c.cover, "cover"}}) {
    if (column < 0) {
      messages_.error(where, std::string("the header row has no column ") + label);
      usable = false;
    }
  }
  if (settings_.group_by.empty()) return usable;
  if (c.group < 0) {
    messages_.error(where,
                    "the header row has no column " + quoted(settings_.group_by) + " to group by");
    usable = false;
  }
  if (c.frequency >= 0 || c.max_frequency >= 0) {
    messages_.error(where, "--group-by composes the frequencies; the input may not give them");
    usable = false;
  }
  return usable;
}

namespace {

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
        messages_.error(at(name, line_number),
                        "species line " + quoted(trimmed(saved_line)) + " does not read as name, " +
                            (max_frequency > 0 ? "frequency, " : "") + "value");
        continue;
      }
      const int spelling = names_.spelling(nameWords(input_line));
      const Match& match = names_.match(spelling);
      if (match.species_number == 0) {
        ++set_.samples.back().unmatched;
        unmatched(spelling, lines.number());
        continue;
      }
      short tenths = 0;
      engine::heldTenths(value, tenths);  // the parser has refused values that do not fit
      checkLimit(value, set_.samples.back().cover_scale, name, line_number);
      set_.add({sample, spelling, match.identity,
                static_cast<short>(match.species_number + engine::kMarkStep * marks),
                static_cast<short>(frequency), tenths});
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
