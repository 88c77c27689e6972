#include "common/files.h"

#include <cstdlib>

#include "common/console.h"

namespace veg {

namespace {

class StdioFile : public TextFile {
 public:
  explicit StdioFile(std::FILE* file) : file_(file) {}
  ~StdioFile() override {
    std::fclose(file_);
    std::free(buffer_);
  }
  bool readLine(std::string& line) override {
    ssize_t n = getline(&buffer_, &capacity_, file_);
    if (n < 0) return false;
    line.assign(buffer_, static_cast<std::size_t>(n));
    stripLineEnd(line);
    return true;
  }
  void writeLine(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
  }
  void rewind() override { std::rewind(file_); }
  void flush() override { std::fflush(file_); }

 private:
  std::FILE* file_;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
};

}  // namespace

std::unique_ptr<TextFile> RealFileSystem::openExisting(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "r");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioFile>(file);
}

std::unique_ptr<TextFile> RealFileSystem::createNew(const std::string& name) {
  if (name.empty()) return nullptr;
  // "x": fail when the file exists, so that nothing is ever overwritten.
  std::FILE* file = std::fopen(name.c_str(), "wx");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioFile>(file);
}

std::string trimName(std::string_view name20) {
  std::size_t end = name20.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(name20.substr(0, end + 1));
}

}  // namespace veg
