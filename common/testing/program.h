// Runs a built program of the suite in a fresh temporary directory with
// scripted standard input, for end-to-end tests: the screen and every file
// the program leaves behind can then be compared line by line.
#pragma once

#include <string>
#include <vector>

namespace veg::testing {

/// What a run may use: a hang guard, a file-size limit (a full disk), a kill
/// at a given moment, another working directory.
struct RunLimits {
  double time_limit_seconds = 20;  // killed (status -1) when it runs longer
  long file_size_limit_kib = 0;    // ulimit -f for the program's files (not the screen), 0: none
  double kill_after_seconds = 0;   // SIGKILL after this long, 0: never
  std::string working_dir;         // run there instead of `dir` when set
};

class ProgramRun {
 public:
  /// Creates an empty working directory (removed again on destruction).
  ProgramRun();
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  /// Writes a file into the working directory, each line ended by LF.
  void put(const std::string& name, const std::vector<std::string>& lines) const;
  /// Copies a file into the working directory under `name`.
  void copy(const std::string& from, const std::string& name) const;
  /// Runs `program` (a path) in the working directory with `input` as its
  /// standard input; returns the exit status and keeps the screen.
  int run(const std::string& program, const std::vector<std::string>& input);
  /// The same within `limits`; -1 when the program was killed.
  int run(const std::string& program, const std::vector<std::string>& input,
          const RunLimits& limits);
  /// Runs `program` with the command-line arguments `args` (standard error
  /// is kept in `errors`).
  int run(const std::string& program, const std::vector<std::string>& args,
          const std::vector<std::string>& input, const RunLimits& limits);

  /// The lines of a file of the working directory; empty when missing.
  std::vector<std::string> lines(const std::string& name) const;
  bool exists(const std::string& name) const;
  /// The names of the files in the working directory, sorted.
  std::vector<std::string> files() const;

  std::vector<std::string> screen;
  std::vector<std::string> errors;  // standard error of the last run
  std::string dir;
};

/// Copies the shipped reference files (data/SPECDICT.txt, ASSOCTAB.txt,
/// NVCTYPES.txt and HELP.txt) into the run's working directory.
void putShippedData(const ProgramRun& run);

/// The screen lines of the end-of-program notice.
std::vector<std::string> holdNotice();

/// Compares two lists of lines; on a difference the message names the first
/// line that differs and shows both versions of it.
std::string firstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& actual);

/// The path of a built program: <build directory>/<relative> (the build
/// directory may be overridden by $VEG_BINARY_DIR).
std::string builtProgram(const std::string& relative);
/// The path of a source file: <source directory>/<relative> (or under
/// $VEG_SOURCE_DIR).
std::string sourceFile(const std::string& relative);

}  // namespace veg::testing
