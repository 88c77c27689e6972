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
  /// Writes a line to the record-of-entry file when one is open.
  void recordLine(std::string_view line) {
    if (record) record->writeLine(line);
  }
  /// Pushes the answers and record-of-entry files to disk, so that a run
  /// stopped at any moment keeps every finished sample.
  void flush() {
    if (answers) answers->flush();
    if (record) record->flush();
  }
};

/// The run switches chosen by the set-up dialog.
struct Switches {
  int input_mode = 0;        // 0 keyboard; above 3 datafile
  int record_entry = 1;      // 1 keyboard entry with record file and screen report
  int species_limit = 10000; // highest species number included
};

}  // namespace vegmatch
