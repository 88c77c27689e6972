// What the fuzz targets share: the fuzz input read as a text file, and the
// checks every target makes on what a program wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/console.h"

namespace veg::fuzz {

/// A console for fuzz targets: the keyboard is a script of lines; every
/// screen line is checked as it is written (at most `width` columns) and
/// only the last one is kept, so that a long run costs no memory.
class ScriptConsole : public Console {
 public:
  explicit ScriptConsole(std::vector<std::string> input, std::size_t width = 80)
      : input_(std::move(input)), width_(width) {}
  bool readLine(std::string& line) override;
  void writeLine(std::string_view line) override;
  /// Script lines not yet read.
  std::size_t unread() const { return input_.size() - next_; }
  /// The last line written; empty before the first.
  const std::string& last() const { return last_; }

 private:
  std::vector<std::string> input_;
  std::size_t next_ = 0;
  std::size_t width_;
  std::string last_;
};

/// A keyboard script of RETURNs only: enough for the converters' two file
/// names, their notices and the last hold.
std::vector<std::string> returns(std::size_t count = 8);

/// The lines of `size` bytes of `data` as the real file system reads them:
/// split at each line feed, a carriage return before it dropped, a last
/// line without a line feed kept; NUL and every other byte kept as they are.
std::vector<std::string> fileLines(const std::uint8_t* data, std::size_t size);

/// The same for text.
std::vector<std::string> fileLines(std::string_view text);

/// Stops the run with a report on standard error when `holds` is false:
/// libFuzzer keeps the input as a finding, the replay driver fails.
void check(bool holds, const char* what, std::string_view detail = {});

/// Checks that no line of `lines` (the screen, or a file) is longer than
/// `width` columns.
void checkWidth(const std::vector<std::string>& lines, std::size_t width, const char* where);

}  // namespace veg::fuzz
