#include "vegmatch/header.h"

#include "common/fields.h"
#include "common/hold.h"
#include "engine/parser.h"
#include "engine/sample_file.h"
#include "vegmatch/dialogs.h"

namespace vegmatch {

namespace {

constexpr int kDatafileLimit = 9999;

// The label tables of the sample line, indexed by setting (element 0
// unused).
constexpr std::string_view kSpeciesGroupLabels[] = {"", "All sp", "Nolich", "Nobryo"};
constexpr std::string_view kCoverScaleLabels[] = {"", "Cover%", "Br-Bla", "Domin "};
constexpr std::string_view kAnalysisLabels[] = {"",         "Sp & cov", "Spp only",
                                                "Cov only", "Incmp sp", "Top few "};

// Entry `index` of a label table; blanks of the labels' width for a
// setting the table does not hold.
template <std::size_t N>
std::string label(const std::string_view (&table)[N], int index) {
  if (index < 1 || index >= static_cast<int>(N)) return std::string(table[1].size(), ' ');
  return std::string(table[index]);
}

// The species-group setting as an index of kSpeciesGroupLabels.
int speciesGroup(int species_limit) {
  switch (species_limit) {
    case 10000: return 1;
    case 4000: return 2;
    case 3000: return 3;
    default: return 0;
  }
}

}  // namespace

std::string sampleLine(std::string_view sample_name, int max_frequency, int species_limit,
                       const RunSettings& settings) {
  std::string line = " Sample ";
  line.reserve(64);
  line += veg::padRight(sample_name, engine::kSampleNameWidth);
  if (max_frequency > 0) {
    line += "*" + veg::fmtInt(max_frequency, 3) + "   Parameters = ";
  } else {
    line += "       Parameters = ";
  }
  line += veg::fmtText(label(kSpeciesGroupLabels, speciesGroup(species_limit)), 8);
  line += "   ";
  line += label(kCoverScaleLabels, settings.cover_scale);
  line += "   ";
  line += veg::fmtText(label(kAnalysisLabels, settings.analysis_type), 6);
  return line;
}

void readNameLine(Io& io, LineBuffers& buffers, std::string& sample_name, int& max_frequency,
                  bool& bad, int input_mode, RunSettings& settings) {
  // The line is read as 40 columns: as it stands when it has them (as the
  // header phase leaves it), padded or cut otherwise.
  std::string padded;
  std::string_view line = buffers.input_line;
  if (line.size() != static_cast<std::size_t>(engine::kLineWidth)) {
    padded = engine::lineColumns(line);
    line = padded;
  }
  max_frequency = 0;
  bad = false;
  buffers.name_work.resize(engine::kLineWidth, ' ');
  buffers.name_work.replace(0, engine::kSampleNameWidth, engine::kSampleNameWidth, ' ');

  const std::string plain = veg::column(line, engine::kPlainLabelColumn, engine::kScaleLabelWidth);
  const std::string with_frequency =
      veg::column(line, engine::kFrequencyLabelColumn, engine::kScaleLabelWidth);
  for (int k = 1; k <= 3; ++k) {
    const std::string found = engine::scaleLabel(k);
    if ((plain == found || with_frequency == found) && k != settings.cover_scale) {
      io.console.writeLine(" Cover scale is set to " + engine::scaleLabel(settings.cover_scale) +
                           " but input data are " + found);
      io.console.writeLine(" Press <RETURN> to continue");
      io.console.ask();
      askAnalysisParameters(io.console, settings);
    }
  }

  std::string name;
  engine::nameLineParts(line, name, max_frequency);
  buffers.name_work.replace(0, engine::kSampleNameWidth, name);
  if (max_frequency > engine::kMaxFrequencyLimit) {
    io.console.writeLine(" *** Maximum frequency may not exceed 100 ***");
    bad = true;
  }
  sample_name = buffers.name_work.substr(0, engine::kSampleNameWidth);
  if (bad) return;
  if (veg::isBlank(sample_name)) sample_name = engine::defaultSampleName(settings.sample_count);
  if (!isDatafile(input_mode))
    io.recordLine(engine::headerLine(sample_name, max_frequency, settings.cover_scale));
}

void headerPhase(Io& io, LineBuffers& buffers, RunSettings& settings, Sample& sample,
                 const Switches& switches) {
  const bool keyboard = !switches.datafile();
  int max_frequency = 0;
  for (;;) {
    std::string& raw = buffers.read_line;
    if (keyboard) {
      pushScreenUp(io.console);
      io.console.writeLine(" Now enter sample name (at most 8 characters)");
      io.console.writeLine(" (For frequency data, follow name by * max-freq)");
      raw = io.console.ask();
    } else if (settings.sample_count > kDatafileLimit || !io.datafile ||
               !io.datafile->readLine(raw)) {
      veg::holdAndStop(io.console);
    }
    veg::assignColumn(buffers.input_line, raw, 1, engine::kLineWidth);
    bool bad = false;
    readNameLine(io, buffers, sample.sample_name, max_frequency, bad, switches.input_mode,
                 settings);
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
