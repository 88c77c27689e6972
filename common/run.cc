#include "common/run.h"

#include <string>

#include "common/hold.h"

namespace veg {

namespace {

constexpr std::size_t kScreenWidth = 80;

std::string cut(std::string line) {
  if (line.size() > kScreenWidth) line.resize(kScreenWidth);
  return line;
}

/// Runs `step`; false when it ended with a reported file error.
bool attempt(Console& console, const std::function<void()>& step) {
  try {
    step();
  } catch (const StopRun&) {
  } catch (const FileError& error) {
    reportFileError(console, error);
    try {
      hold(console);
    } catch (const StopRun&) {
    }
    return false;
  }
  return true;
}

}  // namespace

void reportFileError(Console& console, const FileError& error) {
  console.blank(2);
  console.writeLine(cut(std::string("  *** ERROR *** Cannot ") +
                        (error.writing ? "write" : "read") + " file " + error.name));
  console.writeLine(cut(" " + error.reason));
  if (error.writing) console.writeLine(" The file is incomplete");
}

int runProgram(Console& console, const std::function<void()>& body,
               const std::function<void()>& finish) {
  if (attempt(console, body) && finish) attempt(console, finish);
  return 0;
}

}  // namespace veg
