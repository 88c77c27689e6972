// DECKSAVE: converts a sample file into a Cornell condensed file. Reads the
// keyboard, writes the screen, and works on files of the working directory.
#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"
#include "common/installation.h"
#include "decksave/decksave.h"

int main(int argc, char** argv) {
  veg::ignoreFileSizeSignal();
  const auto version = [] {
    return std::vector<std::string>{std::string("decksave ") + veg::suiteVersion() +
                                    " (VEGMATCH suite)"};
  };
  if (auto status = veg::answerProgramArguments("decksave", argc, argv, version)) return *status;
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return decksave::runDecksave(console, fs);
}
