#include "common/testing/fakes.h"

namespace veg::testing {

bool FakeConsole::readLine(std::string& line) {
  ++reads;
  if (next_ >= input_.size()) return false;
  line = input_[next_++];
  return true;
}

void FakeConsole::type(std::vector<std::string> lines) {
  for (auto& l : lines) input_.push_back(std::move(l));
}

std::vector<std::string> FakeConsole::take() {
  std::vector<std::string> out;
  out.swap(output);
  return out;
}

namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

std::size_t limitOf(const std::map<std::string, std::size_t>& limits, const std::string& name) {
  auto it = limits.find(name);
  return it == limits.end() ? kNoLimit : it->second;
}

class MemoryFile : public TextFile {
 public:
  MemoryFile(std::string name, std::shared_ptr<std::vector<std::string>> lines,
             std::shared_ptr<std::vector<std::string>> flushed, std::size_t write_limit = kNoLimit,
             std::size_t read_limit = kNoLimit)
      : name_(std::move(name)),
        lines_(std::move(lines)),
        flushed_(std::move(flushed)),
        write_limit_(write_limit),
        read_limit_(read_limit) {}
  bool readLine(std::string& line) override {
    if (next_ >= read_limit_) throw FileError{name_, false, "Input/output error"};
    if (next_ >= lines_->size()) return false;
    line = (*lines_)[next_++];
    return true;
  }
  // Every line left; the read limit fails where readLine would fail.
  void readRest(std::string& text) override {
    for (;; ++next_) {
      if (next_ >= read_limit_) throw FileError{name_, false, "Input/output error"};
      if (next_ >= lines_->size()) return;
      text += (*lines_)[next_];
      text += '\n';
    }
  }
  void writeLine(std::string_view line) override {
    if (lines_->size() >= write_limit_) throw FileError{name_, true, "No space left on device"};
    lines_->emplace_back(line);
  }
  void rewind() override { next_ = 0; }
  void flush() override { flushed_->push_back(name_); }

 private:
  std::string name_;
  std::shared_ptr<std::vector<std::string>> lines_;
  std::shared_ptr<std::vector<std::string>> flushed_;
  std::size_t write_limit_;
  std::size_t read_limit_;
  std::size_t next_ = 0;
};

}  // namespace

std::unique_ptr<TextFile> MemoryFileSystem::openExisting(const std::string& name) {
  auto it = files_.find(name);
  if (it == files_.end()) return nullptr;
  opened.push_back(name);
  return std::make_unique<MemoryFile>(name, it->second, flushed, kNoLimit,
                                      limitOf(read_limit, name));
}

std::unique_ptr<TextFile> MemoryFileSystem::createNew(const std::string& name) {
  if (name.empty() || files_.count(name) || uncreatable.count(name) || directories.count(name) ||
      devices.count(name)) {
    return nullptr;
  }
  auto lines = std::make_shared<std::vector<std::string>>();
  files_[name] = lines;
  created.push_back(name);
  return std::make_unique<MemoryFile>(name, lines, flushed, limitOf(write_limit, name));
}

std::unique_ptr<TextFile> MemoryFileSystem::createReplacing(const std::string& name) {
  if (name.empty() || uncreatable.count(name) || directories.count(name) || devices.count(name)) {
    return nullptr;
  }
  auto lines = std::make_shared<std::vector<std::string>>();
  files_[name] = lines;
  created.push_back(name);
  return std::make_unique<MemoryFile>(name, lines, flushed, limitOf(write_limit, name));
}

bool MemoryFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
  if (!files_.count(from) || directories.count(to) || devices.count(to) ||
      (files_.count(to) && !replace)) {
    return false;
  }
  files_[to] = files_[from];
  files_.erase(from);
  return true;
}

bool MemoryFileSystem::remove(const std::string& name) { return files_.erase(name) != 0; }

FileKind MemoryFileSystem::kindOf(const std::string& name) {
  if (files_.count(name)) return FileKind::kRegular;
  if (directories.count(name)) return FileKind::kDirectory;
  if (devices.count(name)) return FileKind::kOther;
  return FileKind::kMissing;
}

void MemoryFileSystem::put(const std::string& name, std::vector<std::string> lines) {
  files_[name] = std::make_shared<std::vector<std::string>>(std::move(lines));
}

std::vector<std::string> MemoryFileSystem::lines(const std::string& name) const {
  auto it = files_.find(name);
  return it == files_.end() ? std::vector<std::string>{} : *it->second;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace veg::testing
