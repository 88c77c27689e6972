#include "vegmatch/entry.h"

#include <algorithm>
#include <cmath>

#include "common/fields.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/header.h"
#include "vegmatch/names.h"
#include "vegmatch/parser.h"
#include "vegmatch/recap.h"

namespace vegmatch {

namespace {

constexpr int kTopFewType = 5;

// One sample from its species phase on. The header phase has already run;
// the block of the record-of-entry file stays open (header written, no
// terminator yet) until the sample is complete or passed over.
class SampleEntry {
 public:
  SampleEntry(Io& io, Tables& tables, few& settings, cards& buffers, captab& grid, Sample& sample,
              const Switches& switches)
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
    recap(io_, grid_, mode, used_, switches_.input_mode, sample_, tables_.calc1, tables_.name_count,
          sample_.maxFrequency());
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
  few& settings_;
  cards& buffers_;
  captab& grid_;
  Sample& sample_;
  const Switches& switches_;
  const bool keyboard_;
  int used_ = 0;
  bool new_name_ = false;
  bool block_open_ = true;
  float limit_ = 0;
  std::string key_ = std::string(kKeyWidth, ' ');
};

bool SampleEntry::run() {
  if (keyboard_) io_.console.writeLine(" Now enter species data, ending with blank line");
  limit_ = coverLimit(settings_.cover_scale);
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
      clear(io_.console);
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
      buffers_.input_line = card(io_.console.ask());
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
  std::string raw;
  if (keyboard_) {
    raw = io_.console.ask();
  } else if (!io_.datafile || !io_.datafile->readLine(raw)) {
    return false;
  }
  buffers_.input_line = card(raw);
  return true;
}

void SampleEntry::report(const std::string& line) {
  io_.console.writeLine(line);
  if (!keyboard_) io_.answer(line);
}

SampleEntry::Line SampleEntry::takeLine() {
  buffers_.saved_line = buffers_.input_line;
  int marks = destar(buffers_.input_line);
  int frequency = 1;
  float value = 0;
  bool bad = false;
  constr(buffers_.input_line, buffers_.field_work, key_, sample_.maxFrequency(), frequency, value,
         bad);

  if (veg::isBlank(key_)) return used_ >= 1 ? Line::kClose : Line::kAbandon;
  if (bad) {
    report("     *** Bad data - ignored ***   " + buffers_.saved_line);
    return Line::kNext;
  }

  calc1& dict = tables_.calc1;
  int entry = findName(dict, tables_.dict_size, tables_.name_count, key_);
  if (entry == 0) {
    // A full sample takes no new species, so an unknown name is not even
    // resolved (nor added to the dictionary) for it.
    if (used_ >= kMaxSampleEntries) {
      report("     *** Sample full - ignored ***   " + buffers_.saved_line);
      return Line::kNext;
    }
    int names_before = tables_.name_count;
    entry =
        newnam(io_, key_, dict, tables_.name_count, tables_.dict_size, switches_.input_mode, grid_);
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
  const int code =
      tables_.calc1.species_number[static_cast<std::size_t>(entry)] + kMarkStep * marks;
  short tenths = 0;
  heldTenths(value, tenths);  // the parser has refused values that do not fit
  if (!placeEntry(sample_, used_, entry, code, frequency, tenths)) {
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
  vegmatch::rankTopFew(sample_, used_);
}

void SampleEntry::merge() { mergeEntries(sample_, settings_.cover_scale, switches_.species_limit); }

}  // namespace

float coverLimit(int cover_scale) {
  switch (cover_scale) {
    case 2: return 5.0f;
    case 3: return 10.0f;
    default: return 100.0f;
  }
}

void rescal(float value, int scale, int& percent) {
  if (scale < 1 || scale > 3) return;
  if (value == 0.0f) {
    percent = 0;
    return;
  }
  float result = 0;
  switch (scale) {
    case 1: result = value + 0.5f; break;
    case 2:
      if (value > 2.0f) {
        result = 25.0f * value - 35.0f;
      } else {
        result = 15.0f * (value - 1.0f);
      }
      if (value < 1.0f) result = 0;
      break;
    case 3: {
      // The power is taken in double precision, the result kept in single.
      float power =
          static_cast<float>(std::pow(static_cast<double>(value), static_cast<double>(2.6f)));
      result = power / 4.0f;
      break;
    }
  }
  percent = result >= static_cast<float>(kMaxCover) ? kMaxCover : static_cast<int>(result);
}

bool placeEntry(Sample& sample, int& used, int entry, int code, int frequency, short tenths) {
  int place = 0;
  for (int j = 1; j <= used; ++j) {
    std::size_t i = static_cast<std::size_t>(j);
    if (sample.sample_entry_name[i] == entry && sample.sample_species[i] == code) {
      place = j;
      break;
    }
  }
  if (place == 0) {
    if (used >= kMaxSampleEntries) return false;
    place = ++used;
    sample.sample_species[static_cast<std::size_t>(place)] = static_cast<short>(code);
  }
  std::size_t i = static_cast<std::size_t>(place);
  sample.sample_frequency[i] = static_cast<short>(frequency);
  sample.sample_cover[i] = tenths;
  sample.sample_entry_name[i] = static_cast<short>(entry);
  return true;
}

// Top few species: the order of entry is the only quantity, as % cover
// 60, 50, ... 10, then 0; a deleted place is ranked too.
void rankTopFew(Sample& sample, int used) {
  for (int j = 1; j <= used; ++j) {
    int percent = std::max(0, 70 - 10 * j);
    sample.sample_cover[static_cast<std::size_t>(j)] = static_cast<short>(percent * 10);
  }
}

void mergeEntries(Sample& sample, int cover_scale, int species_limit) {
  int merged = 0;
  for (int j = 1; j <= sample.sample_size; ++j) {
    std::size_t i = static_cast<std::size_t>(j);
    if (sample.sample_cover[i] < 0) continue;
    int percent = 0;
    rescal(static_cast<float>(sample.sample_cover[i]) / 10.0f, cover_scale, percent);
    int number = sample.sample_species[i];
    while (number > kMarkStep) number -= kMarkStep;
    if (number > species_limit) continue;
    short frequency = sample.sample_frequency[i];
    int k = 1;
    while (k <= merged && sample.sample_species[static_cast<std::size_t>(k)] != number) ++k;
    std::size_t m = static_cast<std::size_t>(k);
    if (k <= merged) {
      sample.sample_frequency[m] = std::max(sample.sample_frequency[m], frequency);
      sample.sample_cover[m] =
          static_cast<short>(std::min(kMaxCover, sample.sample_cover[m] + percent));
    } else {
      merged = k;
      sample.sample_species[m] = static_cast<short>(number);
      sample.sample_frequency[m] = frequency;
      sample.sample_cover[m] = static_cast<short>(percent);
    }
  }
  sample.sample_size = merged;
}

void stndin(Io& io, Tables& tables, few& settings, cards& buffers, captab& grid, Sample& sample,
            const Switches& switches) {
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
