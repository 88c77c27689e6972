#include "deckload/convert.h"

#include <algorithm>
#include <memory>
#include <string>

#include "common/converter_files.h"
#include "common/fields.h"
#include "common/hold.h"
#include "common/run.h"
#include "cornell/format.h"
#include "cornell/reader.h"

namespace deckload {

namespace {

constexpr std::size_t kScreenWidth = 80;

using veg::fmtInt;

/// The Cornell file as the data-format reads see it, counting its lines.
class CornellLines : public cornell::LineSource {
 public:
  explicit CornellLines(veg::TextFile& file) : file_(file) {}
  bool next(std::string& line) override {
    if (!file_.readLinePrefix(line, veg::kLinePrefixLimit)) return false;
    ++line_number;
    return true;
  }
  void rewind() {
    file_.rewind();
    line_number = 0;
  }
  int line_number = 0;  // of the last line read

 private:
  veg::TextFile& file_;
};

// Everything the run owns; the name tables make it large, so it lives on the
// heap.
struct Run {
  Run(veg::Console& c, veg::FileSystem& f) : console(c), fs(f) {}
  veg::Console& console;
  veg::FileSystem& fs;
  std::unique_ptr<veg::TextFile> input, output;
  std::unique_ptr<CornellLines> cornell_lines;
  cornell::NameLines names;
  cornell::SpeciesNameTable species;
  cornell::SampleNameTable samples;
  cornell::CompiledFormat format;
  cornell::DataRecord record;
  std::string line, echo;
  std::string text;  // the sample file, written whole at the end of the run
  int couplets = 0;
  int lines_before_data = 2;
  int highest_species = 0;
  int highest_sample = 0;
};

void show(veg::Console& console, std::string_view line) {
  console.writeLine(line.substr(0, std::min(line.size(), kScreenWidth)));
}

[[noreturn]] void errorStop(veg::Console& console, std::string_view first,
                            std::string_view second = {}, std::string_view third = {}) {
  console.blank(2);
  show(console, first);
  if (!second.empty()) show(console, second);
  if (!third.empty()) show(console, third);
  veg::holdAndStop(console);
}

/// The data format under the format line: one blank and the format, in
/// lines of 80 columns when it is longer than one holds.
void showFormat(veg::Console& console, std::string_view format) {
  constexpr std::size_t kPiece = kScreenWidth - 1;
  do {
    console.writeLine(" " + std::string(format.substr(0, kPiece)));
    format.remove_prefix(std::min(format.size(), kPiece));
  } while (!format.empty());
}

/// Ends the run when the format line holds no usable data format, or one
/// of a Cornell file in full format (which deckload does not read).
void checkFormat(veg::Console& console, const cornell::CompiledFormat& format,
                 std::string_view data_format) {
  if (!format.ok) {
    const std::size_t first = data_format.find_first_not_of(' ');
    if (first == std::string_view::npos || data_format[first] != '(') {
      errorStop(console, " *** Error *** Not a Cornell condensed file: line 2 holds no data format",
                "     line 2 of a Cornell file is its data format, such as (i4,2x,7(i5,f5.1))");
    }
    errorStop(console,
              " *** Error *** The data format on line 2 cannot be read:", "     " + format.error);
  }
  if (cornell::oneValuePerSpecies(format)) {
    errorStop(console,
              " *** Error *** This Cornell file is in full format: after the sample number",
              "     its data format has one value per species, with no species numbers;",
              "     deckload reads the condensed format: couplets of species number and value");
  }
}

std::string editText(const cornell::Edit& edit) {
  std::string text(1, edit.kind);
  text += std::to_string(edit.width);
  if (edit.kind == 'F') text += "." + std::to_string(edit.decimals);
  return text;
}

std::string anItem(int item) { return "a " + std::string(cornell::itemName(item)); }

/// Ends the run for a data read that failed; `first_line` is the line the
/// read began on, `expected` what a missing line should have been.
[[noreturn]] void readErrorStop(veg::Console& console, const cornell::ReadFailure& failure,
                                int first_line, std::string_view expected) {
  const int at = first_line + failure.line_offset;
  switch (failure.kind) {
    case cornell::ReadFailure::kEndOfFile:
      errorStop(console, " *** Error *** End of file at line" + fmtInt(at, 6),
                failure.line_offset > 0 ? "     expected the rest of the data read begun at line" +
                                              fmtInt(first_line, 6)
                                        : "     expected " + std::string(expected));
    case cornell::ReadFailure::kBadField: {
      const int last = failure.column + failure.edit.width - 1;
      errorStop(console, " *** Error *** Line" + fmtInt(at, 6) + " does not fit the data format",
                "     expected " + anItem(failure.item) + " (" + editText(failure.edit) +
                    ") in columns " + std::to_string(failure.column) + "-" + std::to_string(last));
    }
    case cornell::ReadFailure::kWrongKind:
      errorStop(console, " *** Error *** Line" + fmtInt(at, 6) + " does not fit the data format",
                "     the format has " + editText(failure.edit) + " where " + anItem(failure.item) +
                    " is expected");
    case cornell::ReadFailure::kNoValues:
    case cornell::ReadFailure::kUnusable:
    case cornell::ReadFailure::kNone: break;
  }
  errorStop(console, " *** Error *** Line" + fmtInt(at, 6) + " does not fit the data format",
            "     the format has no I or F field left for the rest of the items");
}

/// Reads the next data line of either pass; a line that does not fit, or a
/// missing one, ends the run.
void readData(Run& r) {
  cornell::ReadFailure failure;
  const int first_line = r.cornell_lines->line_number + 1;
  if (!cornell::readRecord(r.format, *r.cornell_lines, r.couplets, r.record, r.line, failure)) {
    readErrorStop(r.console, failure, first_line,
                  "a data line or the end-of-data card (sample number 0)");
  }
}

/// The end of the run: the sample file gets its last empty line and is
/// written whole.
[[noreturn]] void endOfRun(Run& r) {
  r.text += '\n';
  std::string_view rest = r.text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    r.output->writeLine(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  r.output->flush();
  r.console.blank(2);
  r.console.writeLine(" End of data");
  r.output.reset();
  r.cornell_lines.reset();
  r.input.reset();
  veg::holdAndStop(r.console);
}

void banner(veg::Console& console) {
  console.blank(4);
  console.writeLine(" Program DECKLOAD");
  console.blank();
  console.writeLine(" Converts Cornell Condensed format to VEGMATCH format");
  console.blank();
  console.writeLine(" Dimensioned for maximum" + fmtInt(cornell::kMaxSamples, 6) + " samples" +
                    fmtInt(cornell::kMaxSpecies, 5) + " species");
}

/// Lines 1 to 3, the trial read and the header rule; leaves the Cornell file
/// at its first data line.
void header(Run& r) {
  veg::Console& console = r.console;
  CornellLines& lines = *r.cornell_lines;
  if (!lines.next(r.line)) endOfRun(r);
  console.writeLine(veg::padRight(r.line, cornell::kLineWidth));
  if (!lines.next(r.line)) endOfRun(r);
  const std::string format_line = veg::padRight(r.line, cornell::kLineWidth);
  console.writeLine(format_line);
  const std::string data_format = cornell::dataFormatOf(format_line);
  showFormat(console, data_format);
  r.format = cornell::compileFormat(data_format);
  checkFormat(console, r.format, data_format);
  const int format_line_count = cornell::formatLineCount(format_line);
  if (!lines.next(r.line)) {
    errorStop(console, " *** Error *** End of file at line" + fmtInt(3, 6),
              "     expected card 3: the couplet count or the first data line");
  }
  const long long line3_number = cornell::line3Number(r.line);

  // The trial read: three items from the next line.
  cornell::ReadFailure failure;
  const int trial_line = lines.line_number + 1;
  if (!cornell::readRecord(r.format, lines, 1, r.record, r.line, failure)) {
    readErrorStop(console, failure, trial_line, "a data line to try the format on");
  }

  const cornell::Header rule = cornell::headerRule(format_line_count, line3_number);
  if (rule.message == cornell::Header::kWarning) {
    console.blank();
    console.writeLine(" Beware - number of items seems to be" + fmtInt(format_line_count, 4));
    console.writeLine(" yet first number on next card is    " + fmtInt(line3_number, 4));
  } else if (rule.message == cornell::Header::kNotice) {
    console.blank();
    console.writeLine(" Number of couplets per line is taken to be 1");
    console.writeLine(" If wrong, put desired number as card 3 of data");
    console.writeLine(" Press <RETURN> to continue");
    console.ask();
  }
  if (rule.couplets > cornell::kMaxCouplets) {
    errorStop(console, " *** ERROR *** Number of couplets per line is" + fmtInt(rule.couplets, 8),
              " A data line can hold at most" + fmtInt(cornell::kMaxCouplets, 3) + " couplets");
  }
  r.couplets = static_cast<int>(rule.couplets);
  r.lines_before_data = rule.lines_before_data;

  lines.rewind();
  if (r.couplets != 1) {
    console.blank();
    console.writeLine(" Number of couplets per line is" + fmtInt(r.couplets, 3));
  }
  for (int i = 0; i < r.lines_before_data; ++i) lines.next(r.line);
}

/// Negative numbers lie outside the name tables: the run ends.
void refuseNegative(Run& r) {
  const int at = r.cornell_lines->line_number;
  if (r.record.sample < 0) {
    errorStop(r.console, " *** Error *** Negative sample number on line" + fmtInt(at, 6),
              "     sample numbers run 1, 2, 3 ...; 0 ends the data");
  }
  for (int j = 1; j <= r.couplets; ++j) {
    if (r.record.species[j] < 0) {
      errorStop(r.console, " *** Error *** Negative species number on line" + fmtInt(at, 6),
                "     species numbers run 1, 2, 3 ...; 0 is an empty couplet");
    }
  }
}

void firstPass(Run& r) {
  veg::Console& console = r.console;
  int previous = 0;
  int warnings = 0;
  auto show_line = [&console](std::string_view line) { show(console, line); };
  for (;;) {
    readData(r);
    cornell::writeRecord(r.format, r.record, r.couplets, r.echo, show_line);
    const int sample = r.record.sample;
    if (sample == 0) return;
    refuseNegative(r);
    if (sample != previous) {
      if (sample % 10 == 0) console.writeLine(" " + std::to_string(sample));
      if (sample != previous + 1) {
        console.writeLine(" *** BEWARE *** Non-sequential sample numbers" + fmtInt(previous, 6) +
                          fmtInt(sample, 6));
        if (++warnings == 1) {
          console.blank();
          console.writeLine(" Press <RETURN> to continue");
          console.ask();
        }
      }
      previous = sample;
      r.highest_sample = std::max(r.highest_sample, sample);
    }
    for (int j = 1; j <= r.couplets; ++j) {
      r.highest_species = std::max(r.highest_species, r.record.species[j]);
    }
    if (r.highest_species > cornell::kMaxSpecies) {
      errorStop(console,
                " *** ERROR ***  Species number" + fmtInt(r.highest_species, 6) + "exceeds" +
                    fmtInt(cornell::kMaxSpecies, 6),
                " Program must be redimensioned and recompiled");
    }
    if (r.highest_sample > cornell::kMaxSamples) {
      errorStop(console,
                " *** ERROR ***  Sample number" + fmtInt(r.highest_sample, 6) + "exceeds" +
                    fmtInt(cornell::kMaxSamples, 6),
                " Program must be redimensioned and recompiled");
    }
  }
}

/// The name lines, their checks and the name tables.
void nameLines(Run& r) {
  veg::Console& console = r.console;
  int k = 0;
  bool beyond = false;  // a line holding names beyond what NameLines holds
  while (r.cornell_lines->next(r.line)) {
    if (k < cornell::kMaxNameLines) {
      cornell::storeNameLine(r.names, ++k, r.line);
    } else {
      ++k;
      if (!veg::isBlank(std::string_view(r.line).substr(0, std::min(r.line.size(), kScreenWidth))))
        beyond = true;
    }
  }
  console.blank();
  console.writeLine(" Highest species number in data matrix is" + fmtInt(r.highest_species, 6));
  console.blank();
  console.writeLine(" Highest sample number in data matrix is" + fmtInt(r.highest_sample, 6));
  const int ns = (r.highest_species + 9) / 10;
  const int nm = (r.highest_sample + 9) / 10;
  if (ns + nm > cornell::kMaxNameLines) {
    errorStop(
        console,
        " *** ERROR *** Number of spp + samples is" +
            fmtInt(r.highest_species + r.highest_sample, 5) + " but cannot exceed" +
            fmtInt(static_cast<long long>(cornell::kMaxNameLines) * cornell::kNamesPerLine, 5),
        " Redimension and recompile");
  }
  if (k < ns) errorStop(console, " *** Not enough species names ***");
  if (beyond) {
    errorStop(
        console,
        " *** ERROR *** More than" + fmtInt(cornell::kMaxNameLines, 4) + " name cards in the file",
        " Only" + fmtInt(cornell::kMaxNameLines, 4) +
            " cards of species and sample names can be held");
  }
  // Blank lines beyond the table change nothing in where the blocks lie.
  const cornell::Blocks blocks = cornell::locateBlocks(r.names, std::min(k, cornell::kMaxNameLines),
                                                       r.highest_species, r.highest_sample);
  cornell::buildNameTables(r.names, blocks, r.highest_sample, r.species, r.samples);
}

void secondPass(Run& r) {
  r.cornell_lines->rewind();
  for (int i = 0; i < r.lines_before_data; ++i) r.cornell_lines->next(r.line);
  int previous = 0;
  for (;;) {
    readData(r);
    const int sample = r.record.sample;
    if (sample == 0) return;
    // The first pass checked these lines; a file changed in between must
    // still never index outside the tables.
    bool inside = sample > 0 && sample <= r.highest_sample;
    for (int j = 1; j <= r.couplets; ++j) {
      inside = inside && r.record.species[j] >= 0 && r.record.species[j] <= r.highest_species;
    }
    if (!inside) {
      errorStop(r.console,
                " *** Error *** Line" + fmtInt(r.cornell_lines->line_number, 6) +
                    " differs from the first reading",
                "     the Cornell file changed during the conversion");
    }
    const std::string_view name = r.samples.sample_name[static_cast<std::size_t>(sample)].view();
    if (sample != previous) {
      if (previous != 0) r.text += '\n';
      r.text += name;
      r.text += '\n';
      r.console.writeLine(" " + std::string(name));
      previous = sample;
    }
    for (int j = 1; j <= r.couplets; ++j) {
      const int s = r.record.species[j];
      if (s == 0) continue;
      r.text += ' ';
      r.text += r.species.species_name[static_cast<std::size_t>(s)].view();
      r.text += "  ";
      r.text += veg::fmtReal(r.record.value[j], 6, 1);
      r.text += '\n';
    }
  }
}

void convert(Run& r) {
  banner(r.console);
  veg::askConverterFiles(r.console, r.fs, veg::kDeckloadFileTexts, r.input, r.output);
  r.cornell_lines = std::make_unique<CornellLines>(*r.input);
  header(r);
  firstPass(r);
  nameLines(r);
  secondPass(r);
  endOfRun(r);
}

}  // namespace

int runDeckload(veg::Console& console, veg::FileSystem& fs) {
  auto r = std::make_unique<Run>(console, fs);
  return veg::runProgram(
      console, [&] { convert(*r); },
      [&] {
        if (r->output) r->output->flush();
      });
}

}  // namespace deckload
