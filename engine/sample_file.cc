#include "engine/sample_file.h"

#include <algorithm>

#include "common/fields.h"
#include "engine/parser.h"

namespace engine {

namespace {

// The sample file's scale labels, indexed by cover scale (element 0 unused).
constexpr std::string_view kScaleLabels[] = {"", "COVR%", "BR-BL", "DOMIN"};

// The number after the asterisk at (1-based) column `star`: digits build it
// up to four places, a sign or a comma counts as a 0, anything else ends it.
int readMaxFrequency(std::string_view line, int star) {
  int p = star + 1;
  while (p <= kLineWidth && line[static_cast<std::size_t>(p - 1)] == ' ') ++p;
  int number = 0;
  for (; p <= kLineWidth; ++p) {
    char c = line[static_cast<std::size_t>(p - 1)];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c != '+' && c != '-' && c != ',') {
      break;
    }
    if (number <= 999) number = number * 10 + digit;
  }
  return number;
}

}  // namespace

std::string scaleLabel(int cover_scale) {
  if (cover_scale < 1 || cover_scale > 3) return std::string(kScaleLabelWidth, ' ');
  return std::string(kScaleLabels[cover_scale]);
}

std::string headerLine(std::string_view sample_name, int max_frequency, int cover_scale) {
  std::string line = veg::padRight(sample_name, kSampleNameWidth);
  if (max_frequency > 0) {
    line += "   *" + veg::fmtInt(max_frequency, 3) + " ";
  } else {
    line += "     ";
  }
  line += scaleLabel(cover_scale);
  return line;
}

void nameLineParts(std::string_view line, std::string& name, int& max_frequency) {
  std::string padded;
  std::string_view columns = line;
  if (columns.size() != static_cast<std::size_t>(kLineWidth)) {
    padded = lineColumns(line);
    columns = padded;
  }
  const std::size_t star = columns.find('*');
  name = veg::padRight(columns.substr(0, std::min<std::size_t>(star, kSampleNameWidth)),
                       kSampleNameWidth);
  max_frequency =
      star == std::string::npos ? 0 : readMaxFrequency(columns, static_cast<int>(star) + 1);
}

int labelledScale(std::string_view line) {
  const std::string plain = veg::column(line, kPlainLabelColumn, kScaleLabelWidth);
  const std::string with_frequency = veg::column(line, kFrequencyLabelColumn, kScaleLabelWidth);
  for (int k = 1; k <= 3; ++k) {
    if (plain == scaleLabel(k) || with_frequency == scaleLabel(k)) return k;
  }
  return 0;
}

std::string defaultSampleName(int sample_count) { return "SAMPL" + veg::fmtInt(sample_count, 3); }

}  // namespace engine
