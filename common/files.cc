#include "common/files.h"

#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "common/console.h"

namespace veg {

namespace {

class StdioFile : public TextFile {
 public:
  StdioFile(std::FILE* file, std::string name, bool owned = true)
      : file_(file), name_(std::move(name)), owned_(owned) {}
  ~StdioFile() override {
    // A failure here has no one left to tell: every writer flushes (and so
    // learns of a failure) before it lets a file go.
    if (owned_) {
      std::fclose(file_);
    } else {
      std::fflush(file_);
    }
    std::free(buffer_);
  }
  bool readLine(std::string& line) override {
    errno = 0;
    ssize_t n = getline(&buffer_, &capacity_, file_);
    if (n < 0) {
      if (std::ferror(file_)) fail(false);
      return false;
    }
    line.assign(buffer_, static_cast<std::size_t>(n));
    stripLineEnd(line);
    return true;
  }
  void writeLine(std::string_view line) override {
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
        std::fputc('\n', file_) == EOF) {
      fail(true);
    }
  }
  void rewind() override { std::rewind(file_); }
  void flush() override {
    if (std::fflush(file_) != 0) fail(true);
  }

 private:
  [[noreturn]] void fail(bool writing) {
    const int error = errno;
    std::clearerr(file_);
    throw FileError{name_, writing, error != 0 ? std::strerror(error) : "input/output error"};
  }

  std::FILE* file_;
  std::string name_;
  bool owned_;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
};

}  // namespace

std::unique_ptr<TextFile> RealFileSystem::openExisting(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "r");
  if (file == nullptr) return nullptr;
  // A directory opens for reading on this system, and then every read fails.
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return std::make_unique<StdioFile>(file, name);
}

std::unique_ptr<TextFile> RealFileSystem::createNew(const std::string& name) {
  if (name.empty()) return nullptr;
  // "x": fail when the file exists, so that nothing is ever overwritten.
  std::FILE* file = std::fopen(name.c_str(), "wx");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioFile>(file, name);
}

std::unique_ptr<TextFile> RealFileSystem::createReplacing(const std::string& name) {
  if (name.empty()) return nullptr;
  struct stat info {};
  if (stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return nullptr;
  std::FILE* file = std::fopen(name.c_str(), "w");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioFile>(file, name);
}

std::unique_ptr<TextFile> streamFile(std::FILE* stream, std::string name) {
  return std::make_unique<StdioFile>(stream, std::move(name), false);
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

std::string trimName(std::string_view name20) {
  std::size_t end = name20.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(name20.substr(0, end + 1));
}

}  // namespace veg
