#include "common/files.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace veg {

void TextFile::writeText(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    writeLine(text.substr(start, end - start));
    start = end + 1;
  }
}

bool TextFile::readLinePrefix(std::string& line, std::size_t limit) {
  if (!readLine(line)) return false;
  if (line.size() > limit) line.resize(limit);
  return true;
}

FileKind FileSystem::kindOf(const std::string& name) {
  return openExisting(name) ? FileKind::kRegular : FileKind::kMissing;
}

void TextFile::readRest(std::string& text) {
  for (std::string line; readLine(line);) {
    text += line;
    text += '\n';
  }
}

namespace {

// Turns the bytes of a file from `from` on into lines each ended by a line
// feed, as readLine cuts them: a carriage return before a line feed goes,
// and a last line without a line feed gets one in place of the carriage
// return that may end it.
void endLines(std::string& text, std::size_t from) {
  if (text.size() == from) return;
  const bool ended = text.back() == '\n';
  if (text.find('\r', from) != std::string::npos) {
    std::size_t out = from;
    for (std::size_t i = from; i < text.size(); ++i) {
      if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') text[out++] = text[i];
    }
    text.resize(out);
  }
  if (ended) return;
  if (text.back() == '\r') {
    text.back() = '\n';
  } else {
    text += '\n';
  }
}

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
  }
  bool readLine(std::string& line) override { return readBounded(line, std::string::npos); }
  bool readLinePrefix(std::string& line, std::size_t limit) override {
    return readBounded(line, limit);
  }
  // The rest of the block, then the rest of the file, read straight into
  // `text` (in one read when the file's size is known).
  void readRest(std::string& text) override {
    const std::size_t from = text.size();
    if (next_ < end_) text.append(block_.get() + next_, end_ - next_);
    next_ = end_ = 0;
    std::size_t chunk = kBlock;
    struct stat info {};
    if (fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode)) {
      const off_t at = ftello(file_);
      // One byte more than is left, so that the first read meets the end.
      if (at >= 0 && info.st_size >= at) chunk = static_cast<std::size_t>(info.st_size - at) + 1;
    }
    for (;;) {
      const std::size_t before = text.size();
      text.resize(before + chunk);
      errno = 0;
      const std::size_t got = std::fread(text.data() + before, 1, chunk, file_);
      const int error = errno;
      text.resize(before + got);
      if (got == chunk) continue;
      if (!std::ferror(file_)) break;
      // What was read before the error, up to its last whole line.
      const std::size_t last = text.rfind('\n');
      text.resize(last == std::string::npos || last < from ? from : last + 1);
      endLines(text, from);
      errno = error;
      fail(false);
    }
    endLines(text, from);
  }
  void writeLine(std::string_view line) override {
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
        std::fputc('\n', file_) == EOF) {
      fail(true);
    }
  }
  void writeText(std::string_view text) override {
    if (text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() ||
        (text.back() != '\n' && std::fputc('\n', file_) == EOF)) {
      fail(true);
    }
  }
  void rewind() override {
    std::rewind(file_);
    next_ = end_ = 0;
  }
  void flush() override {
    if (std::fflush(file_) != 0) fail(true);
  }

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 16;

  // Lines are cut out of blocks read whole: one copy of every byte, and no
  // locking of the stream for every line of a file of millions. Of each line
  // at most `limit` characters are kept (one more while it is read, to see
  // whether a carriage return ends it).
  bool readBounded(std::string& line, std::size_t limit) {
    const std::size_t keep = limit == std::string::npos ? limit : limit + 1;
    line.clear();
    bool any = false;
    bool cut = false;  // the line is longer than `keep`
    for (;;) {
      if (next_ == end_ && !refill()) {
        if (!any) return false;
        break;
      }
      any = true;
      const char* from = block_.get() + next_;
      const std::size_t available = end_ - next_;
      const void* found = std::memchr(from, '\n', available);
      const std::size_t length =
          found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - from)
                           : available;
      const std::size_t room = keep - line.size();
      line.append(from, std::min(length, room));
      if (length > room) cut = true;
      next_ += length;
      if (found != nullptr) {
        ++next_;
        break;
      }
    }
    if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > limit) line.resize(limit);
    return true;
  }

  // The next block of the file; false at its end. A read error is never
  // taken for the end.
  bool refill() {
    if (!block_) block_ = std::make_unique<char[]>(kBlock);
    errno = 0;
    next_ = 0;
    end_ = std::fread(block_.get(), 1, kBlock, file_);
    if (end_ == 0 && std::ferror(file_)) fail(false);
    return end_ > 0;
  }

  [[noreturn]] void fail(bool writing) {
    const int error = errno;
    std::clearerr(file_);
    throw FileError{name_, writing, error != 0 ? std::strerror(error) : "input/output error"};
  }

  std::FILE* file_;
  std::string name_;
  bool owned_;
  std::unique_ptr<char[]> block_;
  std::size_t next_ = 0, end_ = 0;  // the unread part of block_
};

}  // namespace

FileKind RealFileSystem::kindOf(const std::string& name) {
  struct stat info {};
  if (name.empty() || stat(name.c_str(), &info) != 0) return FileKind::kMissing;
  if (S_ISREG(info.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(info.st_mode)) return FileKind::kDirectory;
  return FileKind::kOther;
}

std::unique_ptr<TextFile> RealFileSystem::openExisting(const std::string& name) {
  // Bytes as they are on every system: the reader takes a carriage return
  // before a line feed for part of the line end.
  std::FILE* file = std::fopen(name.c_str(), "rb");
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
  // Fail when the file exists, so that nothing is ever overwritten. Lines end
  // in a line feed alone on every system.
#ifdef _WIN32
  const int descriptor =
      _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) {
    _close(descriptor);
    return nullptr;
  }
#else
  std::FILE* file = std::fopen(name.c_str(), "wbx");
  if (file == nullptr) return nullptr;
#endif
  return std::make_unique<StdioFile>(file, name);
}

std::unique_ptr<TextFile> RealFileSystem::createReplacing(const std::string& name) {
  if (name.empty()) return nullptr;
  struct stat info {};
  if (stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return nullptr;
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdioFile>(file, name);
}

bool RealFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
  if (from.empty() || to.empty()) return false;
  struct stat info {};
  if (stat(to.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
#ifdef _WIN32
  // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
  return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
#else
  if (replace) return std::rename(from.c_str(), to.c_str()) == 0;
  // A second name first: link fails when `to` exists, even when it was
  // created a moment ago, so that nothing is ever overwritten.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
#endif
}

bool RealFileSystem::remove(const std::string& name) {
  return !name.empty() && std::remove(name.c_str()) == 0;
}

std::unique_ptr<TextFile> streamFile(std::FILE* stream, std::string name) {
  return std::make_unique<StdioFile>(stream, std::move(name), false);
}

void ignoreFileSizeSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void writeBinaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::string trimName(std::string_view name20) {
  std::size_t end = name20.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(name20.substr(0, end + 1));
}

}  // namespace veg
