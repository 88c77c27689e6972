// In-memory stand-ins for the console and the file system, for tests: the
// keyboard is a script of lines, the screen and every file are recorded.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/files.h"

namespace veg::testing {

class FakeConsole : public Console {
 public:
  FakeConsole() = default;
  explicit FakeConsole(std::vector<std::string> input) : input_(std::move(input)) {}

  bool readLine(std::string& line) override;
  void writeLine(std::string_view line) override { output.emplace_back(line); }

  /// Appends lines to the keyboard script.
  void type(std::vector<std::string> lines);
  /// Number of script lines not yet read.
  std::size_t unread() const { return input_.size() - next_; }
  /// The screen lines written since the last call (and forgets them).
  std::vector<std::string> take();

  std::vector<std::string> output;
  int reads = 0;

 private:
  std::vector<std::string> input_;
  std::size_t next_ = 0;
};

class MemoryFileSystem : public FileSystem {
 public:
  std::unique_ptr<TextFile> openExisting(const std::string& name) override;
  std::unique_ptr<TextFile> createNew(const std::string& name) override;
  std::unique_ptr<TextFile> createReplacing(const std::string& name) override;
  bool rename(const std::string& from, const std::string& to, bool replace) override;
  bool remove(const std::string& name) override;
  /// kRegular for a file put or created, kDirectory and kOther for the names
  /// of `directories` and `devices`, else kMissing.
  FileKind kindOf(const std::string& name) override;

  /// Puts a file in place (creating or replacing it).
  void put(const std::string& name, std::vector<std::string> lines);
  /// The lines of a file; empty when there is none.
  std::vector<std::string> lines(const std::string& name) const;
  bool exists(const std::string& name) const { return files_.count(name) != 0; }

  /// Names that stand for a directory, or for a device or a pipe: neither
  /// opens nor can be created.
  std::set<std::string> directories;
  std::set<std::string> devices;
  /// Names whose creation fails although no such file exists.
  std::set<std::string> uncreatable;
  /// A file created under one of these names holds at most that many lines:
  /// the next write fails as on a full disk (FileError).
  std::map<std::string, std::size_t> write_limit;
  /// Reading one of these files fails (FileError) after that many lines.
  std::map<std::string, std::size_t> read_limit;
  std::vector<std::string> created;
  std::vector<std::string> opened;
  /// Names of files in the order of their flush calls.
  std::shared_ptr<std::vector<std::string>> flushed = std::make_shared<std::vector<std::string>>();

 private:
  std::map<std::string, std::shared_ptr<std::vector<std::string>>> files_;
};

/// Splits text into lines (a final line end makes no extra line).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace veg::testing
