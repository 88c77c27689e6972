#include "common/console.h"

#include <cstdlib>

namespace veg {

std::string Console::ask() {
  std::string line;
  if (!readLine(line)) throw StopRun{};
  return line;
}

void Console::blank(int count) {
  for (int i = 0; i < count; ++i) writeLine("");
}

void stripLineEnd(std::string& line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

StdConsole::StdConsole(std::FILE* in, std::FILE* out) : in_(in), out_(out) {
  pending_.reserve(kFlushSize + 256);
}

StdConsole::~StdConsole() {
  flush();
  std::free(buffer_);
}

bool StdConsole::readLine(std::string& line) {
  flush();
#ifdef _WIN32
  // No getline here: the line a character at a time, without the stream's lock.
  line.clear();
  int c = _getc_nolock(in_);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = _getc_nolock(in_)) line.push_back(static_cast<char>(c));
#else
  ssize_t n = getline(&buffer_, &capacity_, in_);
  if (n < 0) return false;
  line.assign(buffer_, static_cast<std::size_t>(n));
#endif
  stripLineEnd(line);
  return true;
}

void StdConsole::writeLine(std::string_view line) {
  pending_.append(line);
  pending_.push_back('\n');
  if (pending_.size() >= kFlushSize) flush();
}

void StdConsole::flush() {
  if (!pending_.empty()) std::fwrite(pending_.data(), 1, pending_.size(), out_);
  pending_.clear();
  std::fflush(out_);
}

}  // namespace veg
