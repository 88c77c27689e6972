#include "vegfit/reader.h"

#include <string>

#include "common/fields.h"
#include "engine/entries.h"
#include "engine/parser.h"
#include "engine/sample_file.h"
#include "vegfit/input_lines.h"

namespace vegfit {

namespace {

using input::at;
using input::kMaxFrequency;
using input::oneDecimal;
using input::quoted;
using input::trimmed;

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
    const std::string also = u.more > 0 ? " (also on " + std::to_string(u.more) + " more line" +
                                              (u.more > 1 ? "s" : "") + ")"
                                        : "";
    if (match.as_species) {
      messages_.warning(at(name, u.first_line),
                        quoted(names_.text(spelling)) + also +
                            " has no row of its own: scored as " +
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
  messages_.warning(
      at(name, line_number),
      quoted(names_.text(spelling)) + " is a species of sample " + quoted(info.name) +
          " given before (lines " + std::to_string(first.line) + " and " +
          std::to_string(line_number) +
          "): " + (same_entry ? "the later cover stands" : "the covers are added, up to 100 %"));
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
