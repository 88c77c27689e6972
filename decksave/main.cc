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
  {
    auto out = veg::streamFile(stdout, "standard output");
    auto errors = veg::streamFile(stderr, "standard error");
    const auto version = [] {
      return std::vector<std::string>{std::string("decksave ") + veg::suiteVersion() + " (VEGMATCH suite)"};
    };
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (auto status = veg::answerCommandLine("decksave", args, version, *out, *errors)) return *status;
  }
  veg::StdConsole console;
  veg::RealFileSystem fs;
  return decksave::runDecksave(console, fs);
}
