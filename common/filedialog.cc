#include "common/filedialog.h"

#include "common/default_file.h"
#include "common/fields.h"
#include "common/hold.h"

namespace veg {

namespace {

constexpr std::string_view kTooLong = "  *** ERROR *** File name longer than 255 characters";
constexpr std::string_view kDirectory = "  *** ERROR *** That name is a directory, not a file";
constexpr std::string_view kNotAFile =
    "  *** ERROR *** That name is a device or a pipe, not a file";

// Why an existing file of this name cannot be read; empty when it can.
std::string_view whyNotReadable(FileSystem& fs, const std::string& path) {
  if (path.size() > kMaxFileNameLength) return kTooLong;
  switch (fs.kindOf(path)) {
    case FileKind::kMissing: return "  *** ERROR *** File does not exist";
    case FileKind::kDirectory: return kDirectory;
    case FileKind::kOther: return kNotAFile;
    case FileKind::kRegular: break;
  }
  return {};
}

// Why no new file of this name could be created. A blank reply where no
// default is taken is answered as it always was.
std::string_view whyNotCreated(FileSystem& fs, const std::string& path) {
  if (path.empty()) return "  *** ERROR *** File already exists";
  switch (fs.kindOf(path)) {
    case FileKind::kRegular: return "  *** ERROR *** File already exists";
    case FileKind::kDirectory: return kDirectory;
    case FileKind::kOther: return kNotAFile;
    case FileKind::kMissing: break;
  }
  return "  *** ERROR *** File cannot be created (no such folder, or no permission)";
}

}  // namespace

std::string askFileName(Console& console) {
  const std::string name = trimName(console.ask());
  return name.size() <= kFileNameWidth ? padRight(name, kFileNameWidth) : name;
}

std::unique_ptr<TextFile> askExistingFile(Console& console, FileSystem& fs,
                                          const ExistingFileQuestion& question, std::string& name) {
  name = askFileName(console);
  for (bool first = true;; first = false) {
    if (isBlank(name) && (first || question.default_on_retry)) {
      name = padRight(question.default_name, kFileNameWidth);
    }
    const std::string path = trimName(name);
    std::string_view why = whyNotReadable(fs, path);
    if (why.empty()) {
      if (auto file = fs.openExisting(path)) return file;
      why = "  *** ERROR *** File cannot be read (no permission)";
    }
    console.blank();
    console.writeLine(why);
    console.writeLine(" Type another name");
    name = askFileName(console);
  }
}

std::unique_ptr<TextFile> askNewFile(Console& console, FileSystem& fs,
                                     const NewFileQuestion& question, std::string& name) {
  name = askFileName(console);
  for (bool first = true;; first = false) {
    if (isBlank(name) && (first || question.default_on_retry)) {
      name = padRight(question.default_name, kFileNameWidth);
      std::unique_ptr<TextFile> file;
      if (createDefaultOrVariant(fs, name, file)) return file;
      console.blank();
      console.writeLine(std::string("  *** ERROR *** Cannot create ") +
                        std::string(question.default_name) + " or any numbered variant of it");
      holdAndStop(console);
    }
    const std::string path = trimName(name);
    std::string_view why = kTooLong;
    if (path.size() <= kMaxFileNameLength) {
      if (auto file = fs.createNew(path)) return file;
      why = whyNotCreated(fs, path);
    }
    console.blank();
    console.writeLine(why);
    console.writeLine(question.repeat_rejected ? " Type another name, not " + name
                                               : std::string(" Type another name"));
    name = askFileName(console);
  }
}

}  // namespace veg
