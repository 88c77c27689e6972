// A whole vegfit run: the command line, the reference data, the input,
// scoring and the output, with the exit status.
#pragma once

#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"

namespace vegfit {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // bad input, missing data, output not written
constexpr int kExitUsage = 2;

/// Where a run reads and writes.
struct Streams {
  veg::FileSystem& fs;     // input files, reference data, -o
  veg::TextFile& input;    // standard input, for "-"
  veg::TextFile& output;   // standard output
  veg::Console& messages;  // standard error
  /// Reference-data directories to look in, in order, when --data is not
  /// given; the first that holds SPECDICT.txt is taken.
  std::vector<std::string> data_dirs;
  /// Scoring threads; 0: as many as the machine has cores (at most 8).
  unsigned threads = 0;
};

/// Runs vegfit with `args` (args[0] the program name); returns the exit
/// status: 0 done, 1 failure (reported on `messages`), 2 usage error.
int runVegfit(const std::vector<std::string>& args, Streams& streams);

/// The file of the names table beside the three reference files.
extern const char kNameTableFile[];

}  // namespace vegfit
