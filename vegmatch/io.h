// The console and the files that stay open for a whole VEGMATCH run.
#pragma once

#include <memory>
#include <string_view>

#include "common/console.h"
#include "common/files.h"

namespace vegmatch {

struct Io {
  Io(veg::Console& c, veg::FileSystem& f) : console(c), fs(f) {}

  veg::Console& console;
  veg::FileSystem& fs;
  std::unique_ptr<veg::TextFile> answers;   // answers file (unit 7)
  std::unique_ptr<veg::TextFile> record;    // record-of-entry file (unit 8)
  std::unique_ptr<veg::TextFile> datafile;  // sample datafile (unit 9)

  /// Writes a line to the answers file when one is open.
  void answer(std::string_view line) {
    if (answers) answers->writeLine(line);
  }
  /// Writes lines, each ended by a line feed, to the answers file when one
  /// is open (as answer() would one by one).
  void answerText(std::string_view text) {
    if (answers) answers->writeText(text);
  }
  /// Writes a line to the record-of-entry file when one is open.
  void recordLine(std::string_view line) {
    if (record) record->writeLine(line);
  }
  /// Pushes the answers and record-of-entry files to disk, so that a run
  /// stopped at any moment keeps every finished sample.
  void flush() {
    flushAnswers();
    flushRecord();
  }
  void flushAnswers() {
    if (answers) answers->flush();
  }
  void flushRecord() {
    if (record) record->flush();
  }
};

/// The input modes the set-up dialog chooses: species data typed at the
/// keyboard, or read from an existing datafile.
constexpr int kKeyboardInput = 0;
constexpr int kDatafileInput = 4;

/// True when `input_mode` means datafile input (any value above 3).
constexpr bool isDatafile(int input_mode) { return input_mode > 3; }

/// The run switches chosen by the set-up dialog.
struct Switches {
  int input_mode = kKeyboardInput;
  int record_entry = 1;       // 1 keyboard entry with record file and screen report
  int species_limit = 10000;  // highest species number included

  /// True when the samples come from a datafile.
  constexpr bool datafile() const { return isDatafile(input_mode); }
};

}  // namespace vegmatch
