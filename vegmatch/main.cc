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
  const auto version = [&fs] {
    return std::vector<std::string>{
        std::string("vegmatch ") + veg::suiteVersion() + " (VEGMATCH suite, VEGMATCH Version 2)",
        fs.referenceDataLine()};
  };
  if (auto status = veg::answerProgramArguments("vegmatch", argc, argv, version)) return *status;
  veg::StdConsole console;
  return vegmatch::runVegmatch(console, fs);
}
