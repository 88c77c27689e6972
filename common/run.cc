#include "common/run.h"

#include <algorithm>
#include <string>

#include "common/hold.h"

namespace veg {

namespace {

constexpr std::size_t kScreenWidth = 80;

std::string cut(std::string line) {
  if (line.size() > kScreenWidth) line.resize(kScreenWidth);
  return line;
}

/// Runs one step and reports a file error it ends with, unless that file
/// has been reported already.
class Steps {
 public:
  explicit Steps(Console& console) : console_(console) {}

  void run(const std::function<void()>& step) {
    if (!step) return;
    try {
      step();
    } catch (const StopRun&) {
    } catch (const FileError& error) {
      if (std::find(reported_.begin(), reported_.end(), error.name) != reported_.end()) return;
      reported_.push_back(error.name);
      reportFileError(console_, error);
    }
  }
  bool anyReported() const { return !reported_.empty(); }

 private:
  Console& console_;
  std::vector<std::string> reported_;  // names of the files reported
};

}  // namespace

void reportFileError(Console& console, const FileError& error) {
  console.blank(2);
  console.writeLine(cut(std::string("  *** ERROR *** Cannot ") +
                        (error.writing ? "write" : "read") + " file " + error.name));
  console.writeLine(cut(" " + error.reason));
  if (error.writing) console.writeLine(" The file is incomplete");
}

int runProgram(Console& console, const std::function<void()>& body,
               const std::vector<std::function<void()>>& finish) {
  Steps steps(console);
  steps.run(body);
  for (const std::function<void()>& step : finish) steps.run(step);
  if (steps.anyReported()) {
    try {
      hold(console);
    } catch (const StopRun&) {
    }
  }
  return 0;
}

int runProgram(Console& console, const std::function<void()>& body,
               const std::function<void()>& finish) {
  return runProgram(console, body, std::vector<std::function<void()>>{finish});
}

}  // namespace veg
