// The console seam: every dialog reads whole lines from the keyboard and
// writes whole lines to the screen through this interface, so that tests can
// script the keyboard and record the screen.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace veg {

/// Thrown to end a program normally (exit status 0, every file flushed and
/// closed by its owner). Programs catch it in main.
struct StopRun {};

class Console {
 public:
  virtual ~Console() = default;
  /// Reads one whole line without its line end (a carriage return before the
  /// line feed is part of the line end). Returns false at end of input.
  virtual bool readLine(std::string& line) = 0;
  /// Writes one line to the screen.
  virtual void writeLine(std::string_view line) = 0;

  /// Reads one line; at end of input the program stops at once (StopRun).
  std::string ask();
  /// Writes `count` empty lines.
  void blank(int count = 1);
};

/// The real console: standard input and standard output. Output is buffered
/// by each console in a buffer of its own and flushed before every read, so
/// a prompt is always on the screen when the program waits.
class StdConsole : public Console {
 public:
  StdConsole(std::FILE* in = stdin, std::FILE* out = stdout);
  ~StdConsole() override;
  bool readLine(std::string& line) override;
  void writeLine(std::string_view line) override;
  void flush();

 private:
  static constexpr std::size_t kFlushSize = 1 << 16;
  std::FILE* in_;
  std::FILE* out_;
  std::string pending_;  // screen lines not yet handed to `out_`
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
};

/// Drops a carriage return that ends `line` (CR LF line ends).
void stripLineEnd(std::string& line);

}  // namespace veg
