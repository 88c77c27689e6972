#include "cornell/reader.h"

#include <algorithm>

#include "common/fields.h"

namespace cornell {

namespace {

// The length of the format that `text` (the format line from the column
// where the format starts) holds, its leading blanks included: up to the
// parenthesis that closes its first one, or, when none does, to its last
// non-blank character before the couplet count; 0 when it is no format.
std::size_t formatLength(std::string_view text, std::size_t before_count) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos || text[first] != '(') return 0;
  int depth = 0;
  for (std::size_t i = first; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i + 1;
  }
  return text.substr(0, before_count).find_last_not_of(' ') + 1;
}

}  // namespace

std::string dataFormatOf(std::string_view format_line) {
  const std::string first20 = veg::column(format_line, 1, 20);
  const std::size_t lead = first20.find_first_not_of(' ');
  const int start = lead == std::string::npos ? 21 : static_cast<int>(lead) + 1;
  const std::string field = veg::column(format_line, start, kFormatWidth);
  const std::size_t length = formatLength(veg::column(format_line, start, kLineWidth + 1 - start),
                                          static_cast<std::size_t>(kFormatLastColumn + 1 - start));
  if (length <= field.size()) return field;
  return veg::column(format_line, start, static_cast<int>(length));
}

int formatLineCount(std::string_view format_line) {
  long long count = 0;
  if (!veg::readIntField(veg::column(format_line, 69, 2), count)) return 0;
  return static_cast<int>(count);
}

long long line3Number(std::string_view line3) {
  std::size_t i = line3.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  const std::size_t end = line3.find_first_of(" ,/", i);
  std::string_view word = line3.substr(i, end == std::string_view::npos ? end : end - i);
  bool negative = false;
  if (!word.empty() && (word[0] == '+' || word[0] == '-')) {
    negative = word[0] == '-';
    word.remove_prefix(1);
  }
  if (word.empty() || word.size() > 18) return 0;
  long long n = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return negative ? -n : n;
}

Header headerRule(int format_line_count, long long line3_number) {
  Header header;
  if (format_line_count > 0) {
    header.couplets = format_line_count;
    header.lines_before_data = 2;
    if (line3_number != 1) header.message = Header::kWarning;
  } else if (format_line_count == 0 && line3_number > 1) {
    header.couplets = line3_number;
    header.lines_before_data = 3;
  } else {
    header.couplets = 1;
    header.lines_before_data = 2;
    header.message = Header::kNotice;
  }
  return header;
}

void storeNameLine(NameLines& names, int k, std::string_view line) {
  auto& stored = names.lines[static_cast<std::size_t>(k)];
  const std::size_t n = std::min(line.size(), stored.size());
  std::copy_n(line.begin(), n, stored.begin());
  std::fill(stored.begin() + static_cast<std::ptrdiff_t>(n), stored.end(), ' ');
}

std::string_view nameOn(const NameLines& names, int k, int position) {
  const auto& stored = names.lines[static_cast<std::size_t>(k)];
  const auto offset = static_cast<std::size_t>(position - 1) * kNameWidth;
  return std::string_view(stored.data() + offset, kNameWidth);
}

bool nameBlank(const NameLines& names, int k, int position) {
  return veg::isBlank(nameOn(names, k, position));
}

bool lineBlank(const NameLines& names, int k) {
  const auto& stored = names.lines[static_cast<std::size_t>(k)];
  return std::all_of(stored.begin(), stored.end(), [](char c) { return c == ' '; });
}

std::string speciesName(std::string_view cornell_name) {
  const std::string name = veg::padRight(cornell_name, kNameWidth);
  if (veg::isBlank(name)) return "No Name  ";
  return name.substr(0, 4) + " " + name.substr(4, 4);
}

std::string sampleName(std::string_view cornell_name) {
  const std::string name = veg::padRight(cornell_name, kNameWidth);
  if (veg::isBlank(name)) return "No Name ";
  return name;
}

Blocks locateBlocks(const NameLines& names, int k, int s, int m) {
  const int ns = (s + 9) / 10;
  const int nm = (m + 9) / 10;
  // Name `position` of name line `c` is blank; lines beyond the last read are.
  auto blank = [&](int c, int position) { return c > k || nameBlank(names, c, position); };
  Blocks blocks;
  if (k <= ns + nm) {
    blocks.species_last = ns;
    blocks.sample_first = ns + 1;
    blocks.sample_last = k;
    return blocks;
  }
  int species_end = ns;
  if (!(s % 10 != 0 && blank(ns, kNamesPerLine) && !blank(ns + 1, 1))) {
    int last = 0;  // the last line holding a name, among the surplus ones
    for (int c = k; c > ns + nm; --c) {
      if (!lineBlank(names, c)) {
        last = c;
        break;
      }
    }
    if (last > 0) {
      species_end = last - nm;
      for (int r = ns + 1; r <= last - nm; ++r) {
        if (blank(r, kNamesPerLine) && !blank(r + 1, 1)) {
          species_end = r;
          break;
        }
      }
    }
  }
  blocks.species_last = species_end;
  blocks.sample_first = species_end + 1;
  blocks.sample_last = species_end + nm;
  return blocks;
}

void buildNameTables(const NameLines& names, const Blocks& blocks, int m, SpeciesNameTable& species,
                     SampleNameTable& samples) {
  for (auto& name : species.species_name) name.assign("No Name  ");
  int number = 0;
  for (int c = blocks.species_first; c <= blocks.species_last; ++c) {
    for (int p = 1; p <= kNamesPerLine && number < kMaxSpecies; ++p) {
      species.species_name[static_cast<std::size_t>(++number)].assign(
          speciesName(nameOn(names, c, p)));
    }
  }
  const int highest = std::clamp(m, 0, kMaxSamples);
  samples.sample_name.assign(static_cast<std::size_t>(highest) + 1, FixedName<kNameWidth>{});
  for (int i = 1; i <= highest; ++i)
    samples.sample_name[static_cast<std::size_t>(i)].assign("No Name ");
  number = 0;
  for (int c = blocks.sample_first; c <= blocks.sample_last; ++c) {
    for (int p = 1; p <= kNamesPerLine && number < highest; ++p) {
      samples.sample_name[static_cast<std::size_t>(++number)].assign(
          sampleName(nameOn(names, c, p)));
    }
  }
}

}  // namespace cornell
