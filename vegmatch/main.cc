// VEGMATCH: identifies the NVC community of vegetation samples by goodness
// of fit to association tables. Reads the keyboard, writes the screen, and
// works on files of the working directory; a reference file the working
// directory lacks is read from the installed copy.
#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"
#include "common/installation.h"
#include "vegmatch/driver.h"

int main(int argc, char** argv) {
  veg::ignoreFileSizeSignal();
  veg::RealFileSystem disk;
  veg::InstalledDataFileSystem fs(
      disk, veg::installedDataDirectory(veg::programDirectory(argc > 0 ? argv[0] : nullptr)));
  {
    auto out = veg::streamFile(stdout, "standard output");
    auto errors = veg::streamFile(stderr, "standard error");
    const auto version = [&fs] {
      return std::vector<std::string>{std::string("vegmatch ") + veg::suiteVersion() +
                                          " (VEGMATCH suite, VEGMATCH Version 2)",
                                      fs.referenceDataLine()};
    };
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (auto status = veg::answerCommandLine("vegmatch", args, version, *out, *errors)) return *status;
  }
  veg::StdConsole console;
  return vegmatch::runVegmatch(console, fs);
}
