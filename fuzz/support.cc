#include "fuzz/support.h"

#include <cstdio>
#include <cstdlib>

namespace veg::fuzz {

std::vector<std::string> fileLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    stripLineEnd(line);
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> fileLines(const std::uint8_t* data, std::size_t size) {
  return fileLines(std::string_view(reinterpret_cast<const char*>(data), size));
}

std::vector<std::string> returns(std::size_t count) { return std::vector<std::string>(count, ""); }

bool ScriptConsole::readLine(std::string& line) {
  if (next_ >= input_.size()) return false;
  line = input_[next_++];
  return true;
}

void ScriptConsole::writeLine(std::string_view line) {
  check(line.size() <= width_, "screen line too wide", line);
  last_.assign(line);
}

void check(bool holds, const char* what, std::string_view detail) {
  if (holds) return;
  std::fprintf(stderr, "*** fuzz check failed: %s: \"%.*s\"\n", what,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

void checkWidth(const std::vector<std::string>& lines, std::size_t width, const char* where) {
  for (const std::string& line : lines) check(line.size() <= width, where, line);
}

}  // namespace veg::fuzz
