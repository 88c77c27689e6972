// vegfit: identifies the NVC community of vegetation samples from CSV files
// and sample files, unattended, with the engine of vegmatch.
#include <cstdio>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"
#include "common/installation.h"
#include "vegfit/run.h"

int main(int argc, char** argv) {
  veg::ignoreFileSizeSignal();
  veg::writeBinaryStandardOutput();
  std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  std::vector<std::string> args(argv, argv + argc);

  // The shipped data: beside the program, where an installation puts it,
  // and in the source tree it was built from.
  const std::string here = veg::programDirectory(argc > 0 ? argv[0] : nullptr);
  veg::RealFileSystem fs;
  auto input = veg::streamFile(stdin, "standard input");
  auto output = veg::streamFile(stdout, "standard output");
  veg::StdConsole messages(stdin, stderr);
  vegfit::Streams streams{fs,
                          *input,
                          *output,
                          messages,
                          {here + "/data", veg::installedDataDirectory(here), VEGFIT_DATA_DIR}};
  return vegfit::runVegfit(args, streams);
}
