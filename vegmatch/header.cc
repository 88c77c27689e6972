#include "vegmatch/header.h"

#include "common/fields.h"
#include "common/hold.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/parser.h"

namespace vegmatch {

namespace {

constexpr int kNameWidth = 8;
constexpr int kLabelWidth = 5;
// The two places a scale label may stand: after a plain name, or after
// the name and its maximum frequency.
constexpr int kPlainLabelColumn = 14;
constexpr int kFrequencyLabelColumn = 17;
constexpr int kDatafileLimit = 9999;

// The static label tables of the sample line, and the sample file's scale
// labels, indexed by setting (element 0 unused).
constexpr std::string_view crypt[] = {"", "All sp", "Nolich", "Nobryo"};
constexpr std::string_view scale[] = {"", "Cover%", "Br-Bla", "Domin "};
constexpr std::string_view anal[] = {"",         "Sp & cov", "Spp only",
                                     "Cov only", "Incmp sp", "Top few "};
constexpr std::string_view scale_label[] = {"", "COVR%", "BR-BL", "DOMIN"};

// Entry `index` of a label table; blanks of the labels' width for a
// setting the table does not hold.
template <std::size_t N>
std::string label(const std::string_view (&table)[N], int index) {
  if (index < 1 || index >= static_cast<int>(N)) return std::string(table[1].size(), ' ');
  return std::string(table[index]);
}

// The species-group setting as an index of crypt.
int speciesGroup(int species_limit) {
  switch (species_limit) {
    case 10000: return 1;
    case 4000: return 2;
    case 3000: return 3;
    default: return 0;
  }
}

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

std::string scaleLabel(int cover_scale) { return label(scale_label, cover_scale); }

std::string headerLine(std::string_view sample_name, int max_frequency, int cover_scale) {
  std::string line = veg::padRight(sample_name, kNameWidth);
  if (max_frequency > 0) {
    line += "   *" + veg::fmtInt(max_frequency, 3) + " ";
  } else {
    line += "     ";
  }
  line += scaleLabel(cover_scale);
  return line;
}

std::string sampleLine(std::string_view sample_name, int max_frequency, int species_limit,
                       const few& settings) {
  std::string line = " Sample " + veg::padRight(sample_name, kNameWidth);
  if (max_frequency > 0) {
    line += "*" + veg::fmtInt(max_frequency, 3) + "   Parameters = ";
  } else {
    line += "       Parameters = ";
  }
  line += veg::fmtText(label(crypt, speciesGroup(species_limit)), 8);
  line += "   ";
  line += label(scale, settings.cover_scale);
  line += "   ";
  line += veg::fmtText(label(anal, settings.analysis_type), 6);
  return line;
}

void nameLineParts(std::string_view line, std::string& name, int& max_frequency) {
  const std::string card40 = card(line);
  const std::size_t star = card40.find('*');
  name = veg::padRight(card40.substr(0, std::min<std::size_t>(star, kNameWidth)), kNameWidth);
  max_frequency =
      star == std::string::npos ? 0 : readMaxFrequency(card40, static_cast<int>(star) + 1);
}

int labelledScale(std::string_view line) {
  const std::string plain = veg::column(line, kPlainLabelColumn, kLabelWidth);
  const std::string with_frequency = veg::column(line, kFrequencyLabelColumn, kLabelWidth);
  for (int k = 1; k <= 3; ++k) {
    if (plain == scaleLabel(k) || with_frequency == scaleLabel(k)) return k;
  }
  return 0;
}

std::string defaultSampleName(int sample_count) { return "SAMPL" + veg::fmtInt(sample_count, 3); }

void samfrq(Io& io, cards& buffers, std::string& sample_name, int& max_frequency, bool& bad,
            int input_mode, few& settings) {
  const std::string line = card(buffers.input_line);
  max_frequency = 0;
  bad = false;
  buffers.name_work = veg::padRight(buffers.name_work, kLineWidth);
  buffers.name_work.replace(0, kNameWidth, kNameWidth, ' ');

  const std::string plain = veg::column(line, kPlainLabelColumn, kLabelWidth);
  const std::string with_frequency = veg::column(line, kFrequencyLabelColumn, kLabelWidth);
  for (int k = 1; k <= 3; ++k) {
    const std::string found = scaleLabel(k);
    if ((plain == found || with_frequency == found) && k != settings.cover_scale) {
      io.console.writeLine(" Cover scale is set to " + scaleLabel(settings.cover_scale) +
                           " but input data are " + found);
      io.console.writeLine(" Press <RETURN> to continue");
      io.console.ask();
      reset(io.console, settings);
    }
  }

  std::string name;
  nameLineParts(line, name, max_frequency);
  buffers.name_work.replace(0, kNameWidth, name);
  if (max_frequency > kMaxFrequencyLimit) {
    io.console.writeLine(" *** Maximum frequency may not exceed 100 ***");
    bad = true;
  }
  sample_name = buffers.name_work.substr(0, kNameWidth);
  if (bad) return;
  if (veg::isBlank(sample_name)) sample_name = defaultSampleName(settings.sample_count);
  if (!isDatafile(input_mode))
    io.recordLine(headerLine(sample_name, max_frequency, settings.cover_scale));
}

void headerPhase(Io& io, cards& buffers, few& settings, Sample& sample, const Switches& switches) {
  const bool keyboard = !switches.datafile();
  int max_frequency = 0;
  for (;;) {
    std::string raw;
    if (keyboard) {
      clear(io.console);
      io.console.writeLine(" Now enter sample name (at most 8 characters)");
      io.console.writeLine(" (For frequency data, follow name by * max-freq)");
      raw = io.console.ask();
    } else if (settings.sample_count > kDatafileLimit || !io.datafile ||
               !io.datafile->readLine(raw)) {
      veg::holdAndStop(io.console);
    }
    buffers.input_line = card(raw);
    bool bad = false;
    samfrq(io, buffers, sample.sample_name, max_frequency, bad, switches.input_mode, settings);
    if (!bad) break;
    if (!keyboard) {
      max_frequency = 0;
      break;
    }
  }
  const std::string line =
      sampleLine(sample.sample_name, max_frequency, switches.species_limit, settings);
  io.console.writeLine("");
  io.console.writeLine(line);
  io.answer("");
  io.answer(line);
  sample.max_frequency = static_cast<float>(max_frequency);
}

}  // namespace vegmatch
