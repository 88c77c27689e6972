// vegfit: identifies the NVC community of vegetation samples from CSV files
// and sample files, unattended, with the engine of vegmatch.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/console.h"
#include "common/files.h"
#include "vegfit/run.h"

int main(int argc, char** argv) {
  veg::ignoreFileSizeSignal();
  std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  std::vector<std::string> args(argv, argv + argc);

  // The shipped data: beside the program, where an installation puts it,
  // and in the source tree it was built from.
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error && argc > 0) program = std::filesystem::absolute(argv[0], error);
  const std::string here = program.parent_path().string();

  veg::RealFileSystem fs;
  auto input = veg::streamFile(stdin, "standard input");
  auto output = veg::streamFile(stdout, "standard output");
  veg::StdConsole messages(stdin, stderr);
  vegfit::Streams streams{fs,
                          *input,
                          *output,
                          messages,
                          {here + "/data", here + "/../share/vegsuite/data", VEGFIT_DATA_DIR}};
  return vegfit::runVegfit(args, streams);
}
