// Where an installed suite keeps its shipped reference files, the file
// system through which the interactive programs read them when the working
// directory lacks one, and the command line of those programs: nothing but
// --version or --help.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"

namespace veg {

/// The suite's version, "1.0.0" (the project's version).
const char* suiteVersion();

/// The absolute directory of the running program, or of `argv0` when the
/// system does not say; empty when neither is known.
std::string programDirectory(const char* argv0);

/// Where an installation keeps the shipped data, seen from the directory of
/// its programs: PREFIX/bin/../share/vegsuite/data, so that a moved prefix
/// still finds its own. Empty for an empty `program_dir`.
std::string installedDataDirectory(const std::string& program_dir);

/// True for the files vegmatch reads from the working directory:
/// SPECDICT.txt, ASSOCTAB.txt, NVCTYPES.txt, HELP.txt (and VERSION.txt, which
/// says what they are).
bool isReferenceFile(std::string_view name);

/// The working directory (`local`), except that a reference file absent
/// there is read from `installed_dir`. A file of the working directory always
/// wins; everything else (other names, every write) is the working
/// directory's alone.
class InstalledDataFileSystem : public FileSystem {
 public:
  InstalledDataFileSystem(FileSystem& local, std::string installed_dir);
  FileKind kindOf(const std::string& name) override;
  std::unique_ptr<TextFile> openExisting(const std::string& name) override;
  std::unique_ptr<TextFile> createNew(const std::string& name) override;
  std::unique_ptr<TextFile> createReplacing(const std::string& name) override;
  bool rename(const std::string& from, const std::string& to, bool replace) override;
  bool remove(const std::string& name) override;

  /// The line of --version that says which reference data a run reads:
  /// the first line of VERSION.txt beside ASSOCTAB.txt and where that is.
  std::string referenceDataLine();

 private:
  // The installed copy of `name`, or empty when it is not a reference file.
  std::string installedName(const std::string& name) const;

  FileSystem& local_;
  std::string installed_dir_;
};

/// Answers the command line of an interactive program: `args` (without the
/// program's name) empty means run (nullopt); "--version" writes
/// `version_lines()` and "--help" the usage line to `out` (status 0); any
/// other command line is refused with the usage line on `errors` (status 2).
std::optional<int> answerCommandLine(std::string_view program, const std::vector<std::string>& args,
                                     const std::function<std::vector<std::string>()>& version_lines,
                                     TextFile& out, TextFile& errors);

/// The same for the arguments of `main`, answered on standard output and
/// standard error.
std::optional<int> answerProgramArguments(
    std::string_view program, int argc, char** argv,
    const std::function<std::vector<std::string>()>& version_lines);

}  // namespace veg
