// DECKLOAD: converts a Cornell condensed file into a sample file that
// VEGMATCH reads. Reads the keyboard, writes the screen, and works on files
// of the working directory.
#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"
#include "common/installation.h"
#include "deckload/convert.h"

int main(int argc, char** argv) {
  veg::ignoreFileSizeSignal();
  const auto version = [] {
    return std::vector<std::string>{std::string("deckload ") + veg::suiteVersion() +
                                    " (VEGMATCH suite)"};
  };
  if (auto status = veg::answerProgramArguments("deckload", argc, argv, version)) return *status;
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return deckload::runDeckload(console, fs);
}
