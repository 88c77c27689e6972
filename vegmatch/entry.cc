#include "vegmatch/entry.h"

#include <algorithm>
#include <cmath>

#include "common/fields.h"
#include "engine/entries.h"
#include "engine/names.h"
#include "engine/parser.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/header.h"
#include "vegmatch/name_menu.h"
#include "vegmatch/recap.h"

namespace vegmatch {

namespace {

constexpr int kTopFewType = 5;

// One sample from its species phase on. The header phase has already run;
// the block of the record-of-entry file stays open (header written, no
// terminator yet) until the sample is complete or passed over.
class SampleEntry {
 public:
  SampleEntry(Io& io, Tables& tables, RunSettings& settings, LineBuffers& buffers, RecapGrid& grid,
              Sample& sample, const Switches& switches)
      : io_(io),
        tables_(tables),
        settings_(settings),
        buffers_(buffers),
        grid_(grid),
        sample_(sample),
        switches_(switches),
        keyboard_(!switches.datafile()) {}

  // True when the sample is complete; false when it was passed over
  // without entries (sample_count advanced).
  bool run();

  // Keyboard input ended inside the sample: the entries typed so far go to
  // the record-of-entry file as a finished block.
  void finishBlock() {
    if (!keyboard_ || !block_open_) return;
    showRecap(kRecapRecord);
    closeBlock();
    io_.flush();
  }

 private:
  enum class Line { kNext, kClose, kAbandon };

  Line takeLine();
  bool readLine();
  void store(int entry, int marks, int frequency, float value);
  void report(const std::string& line);
  void showRecap(int mode) {
    recap(io_, grid_, mode, used_, switches_.input_mode, sample_, tables_.dictionary,
          tables_.name_count, sample_.maxFrequency());
  }
  void closeBlock() {
    if (keyboard_) io_.recordLine("");
    block_open_ = false;
  }
  bool passOver() {
    closeBlock();
    ++settings_.sample_count;
    return false;
  }
  int keptEntries() const;
  void rankTopFew();
  void merge();

  Io& io_;
  Tables& tables_;
  RunSettings& settings_;
  LineBuffers& buffers_;
  RecapGrid& grid_;
  Sample& sample_;
  const Switches& switches_;
  const bool keyboard_;
  int used_ = 0;
  bool new_name_ = false;
  bool block_open_ = true;
  float limit_ = 0;
  std::string key_ = std::string(engine::kKeyWidth, ' ');
};

bool SampleEntry::run() {
  if (keyboard_) io_.console.writeLine(" Now enter species data, ending with blank line");
  limit_ = engine::coverLimit(settings_.cover_scale);
  bool line_waiting = false;
  for (;;) {
    for (;;) {
      if (!line_waiting && !readLine()) {
        // The datafile has ended: this sample is its last.
        settings_.sample_count = kDatafileExhausted;
        if (used_ == 0) return passOver();
        break;
      }
      line_waiting = false;
      Line next = takeLine();
      if (next == Line::kClose) break;
      if (next == Line::kAbandon) return passOver();
    }

    sample_.sample_size = used_;
    if (settings_.analysis_type == kTopFewType) rankTopFew();
    if (keyboard_) {
      pushScreenUp(io_.console);
      io_.console.writeLine(" Recap for sample " + sample_.sample_name);
      io_.console.writeLine("");
    }
    showRecap(kRecapScreen);
    if (keyboard_) {
      int count = keptEntries();
      io_.console.writeLine("");
      io_.console.writeLine("     Number of entries is " + veg::fmtInt(count, 5));
      if (count == 0) return passOver();
      io_.console.writeLine("");
      io_.console.writeLine(" Press <RETURN> if complete, or");
      io_.console.writeLine(" continue typing to add more data to sample");
      io_.console.writeLine("");
      buffers_.input_line = engine::lineColumns(io_.console.ask());
      if (!veg::isBlank(buffers_.input_line)) {
        line_waiting = true;
        continue;
      }
      io_.console.writeLine("");
      io_.console.writeLine(" Sample complete;  calculating goodness of fit ...");
    }
    showRecap(kRecapRecord);
    closeBlock();
    merge();
    return true;
  }
}

// Reads the next species line into input_line; false at the end of the
// datafile. The end of keyboard input stops the run (StopRun).
bool SampleEntry::readLine() {
  std::string& raw = buffers_.read_line;
  if (keyboard_) {
    raw = io_.console.ask();
  } else if (!io_.datafile || !io_.datafile->readLine(raw)) {
    return false;
  }
  veg::assignColumn(buffers_.input_line, raw, 1, engine::kLineWidth);
  return true;
}

void SampleEntry::report(const std::string& line) {
  io_.console.writeLine(line);
  if (!keyboard_) io_.answer(line);
}

SampleEntry::Line SampleEntry::takeLine() {
  buffers_.saved_line = buffers_.input_line;
  int marks = engine::removeMarks(buffers_.input_line);
  int frequency = 1;
  float value = 0;
  bool bad = false;
  engine::parseSpeciesLine(buffers_.input_line, buffers_.field_work, key_, sample_.maxFrequency(),
                           frequency, value, bad);

  if (veg::isBlank(key_)) return used_ >= 1 ? Line::kClose : Line::kAbandon;
  if (bad) {
    report("     *** Bad data - ignored ***   " + buffers_.saved_line);
    return Line::kNext;
  }

  Dictionary& dict = tables_.dictionary;
  int entry = buffers_.found_names.findName(dict, tables_.dict_size, tables_.name_count, key_);
  if (entry == 0) {
    // A full sample takes no new species, so an unknown name is not even
    // resolved (nor added to the dictionary) for it.
    if (used_ >= kMaxSampleEntries) {
      report("     *** Sample full - ignored ***   " + buffers_.saved_line);
      return Line::kNext;
    }
    int names_before = tables_.name_count;
    entry = resolveUnknownName(io_, key_, dict, tables_.name_count, tables_.dict_size,
                               switches_.input_mode, grid_);
    if (entry != 0) {
      new_name_ = true;
      if (tables_.name_count > names_before) {
        ++settings_.last_new_number;
        dict.species_number[static_cast<std::size_t>(entry)] =
            static_cast<short>(settings_.last_new_number);
      }
    }
  }
  if (entry == 0) {
    if (used_ >= 1) showRecap(kRecapRunning);
    return Line::kNext;
  }
  store(entry, marks, frequency, value);
  if (new_name_) {
    showRecap(kRecapRunning);
    new_name_ = false;
  }
  return Line::kNext;
}

void SampleEntry::store(int entry, int marks, int frequency, float value) {
  const int code = tables_.dictionary.species_number[static_cast<std::size_t>(entry)] +
                   engine::kMarkStep * marks;
  short tenths = 0;
  engine::heldTenths(value, tenths);  // the parser has refused values that do not fit
  if (!engine::placeEntry(sample_, used_, entry, code, frequency, tenths)) {
    report("     *** Sample full - ignored ***   " + buffers_.saved_line);
    return;
  }
  if (value > limit_) {
    io_.console.writeLine(" *** Cover value" + veg::fmtReal(value, 6, 1) + " greater than limit" +
                          veg::fmtReal(limit_, 6, 1));
  }
}

int SampleEntry::keptEntries() const {
  int count = 0;
  for (int j = 1; j <= used_; ++j) {
    if (sample_.sample_cover[static_cast<std::size_t>(j)] >= 0) ++count;
  }
  return count;
}

void SampleEntry::rankTopFew() {
  settings_.cover_scale = 1;
  engine::rankTopFew(sample_, used_);
}

void SampleEntry::merge() {
  engine::mergeEntries(sample_, settings_.cover_scale, switches_.species_limit);
}

}  // namespace

void enterSample(Io& io, Tables& tables, RunSettings& settings, LineBuffers& buffers,
                 RecapGrid& grid, Sample& sample, const Switches& switches) {
  for (;;) {
    headerPhase(io, buffers, settings, sample, switches);
    SampleEntry entry(io, tables, settings, buffers, grid, sample, switches);
    try {
      if (entry.run()) return;
    } catch (const veg::StopRun&) {
      entry.finishBlock();
      throw;
    }
  }
}

}  // namespace vegmatch
