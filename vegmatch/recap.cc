#include "vegmatch/recap.h"

#include <algorithm>

#include "common/fields.h"
#include "engine/parser.h"

namespace vegmatch {

namespace {

constexpr int kCellWidth = 21;
constexpr int kGridRows = 15;
constexpr int kGridColumns = 3;
constexpr int kScreenEntries = kGridRows * kGridColumns;
constexpr int kRunningEntries = 10;

// Marks are held in the species code, 10000 for each asterisk.
const char* mark(int code) {
  if (code > 20000) return "**";
  if (code > 10000) return "* ";
  return "  ";
}

void blankGrid(RecapGrid& grid) {
  for (int r = 1; r <= kGridRows; ++r) {
    for (int c = 1; c <= kGridColumns; ++c) grid.recap_cell[r][c].assign(kCellWidth, ' ');
  }
}

void writeGrid(veg::Console& console, const RecapGrid& grid, int rows) {
  for (int r = 1; r <= rows; ++r) {
    console.writeLine(grid.recap_cell[r][1] + "    " + grid.recap_cell[r][2] + "    " +
                      grid.recap_cell[r][3]);
  }
}

}  // namespace

std::string formatEntry(const Sample& sample, int j, const Dictionary& dict, int name_count,
                        int max_frequency) {
  std::size_t i = static_cast<std::size_t>(j);
  int entry = sample.sample_entry_name[i];
  std::string name =
      (entry >= 1 && entry <= name_count && entry <= kMaxNames)
          ? veg::padRight(dict.species_name[static_cast<std::size_t>(entry)], engine::kKeyWidth)
          : std::string(engine::kKeyWidth, ' ');
  std::string line = " " + name + mark(sample.sample_species[i]);
  if (max_frequency > 0) line += veg::fmtInt(sample.sample_frequency[i], 3);
  int tenths = sample.sample_cover[i];
  if (tenths % 10 == 0) {
    line += veg::fmtInt(tenths / 10, 4);
  } else {
    line += veg::fmtReal(tenths / 10.0, 6, 1);
  }
  return line;
}

void recap(Io& io, RecapGrid& grid, int mode, int n, int input_mode, const Sample& sample,
           const Dictionary& dict, int name_count, int max_frequency) {
  const bool datafile = isDatafile(input_mode);
  // From a datafile the screen recap is an empty line alone, and nothing
  // else is shown or recorded: the grid is not needed.
  if (datafile) {
    if (mode == kRecapScreen) io.console.writeLine("");
    return;
  }
  blankGrid(grid);
  n = std::min(n, kMaxSampleEntries);
  if (mode == kRecapScreen) {
    int count = 0;
    for (int j = 1; j <= n; ++j) {
      if (sample.sample_cover[static_cast<std::size_t>(j)] < 0) continue;
      if (++count > kScreenEntries) {
        io.console.writeLine("");
        writeGrid(io.console, grid, kGridRows);
        io.console.writeLine("");
        io.console.writeLine(" Press <RETURN> for next screen of data");
        io.console.ask();
        blankGrid(grid);
        count = 1;
      }
      std::string& cell =
          grid.recap_cell[(count - 1) % kGridRows + 1][(count - 1) / kGridRows + 1];
      cell = veg::padRight(formatEntry(sample, j, dict, name_count, max_frequency), kCellWidth);
    }
    io.console.writeLine("");
    writeGrid(io.console, grid, std::min(count, kGridRows));
    return;
  }
  int first = mode == kRecapRunning ? std::max(1, n - (kRunningEntries - 1)) : 1;
  for (int j = first; j <= n; ++j) {
    if (sample.sample_cover[static_cast<std::size_t>(j)] < 0) continue;
    std::string line = formatEntry(sample, j, dict, name_count, max_frequency);
    if (mode == kRecapRunning) {
      io.console.writeLine(line);
    } else if (mode == kRecapRecord) {
      io.recordLine(line);
    }
  }
}

}  // namespace vegmatch
