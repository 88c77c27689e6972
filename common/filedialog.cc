#include "common/filedialog.h"

#include "common/fields.h"
#include "common/default_file.h"
#include "common/hold.h"

namespace veg {

std::string askFileName(Console& console) { return padRight(console.ask(), kFileNameWidth); }

std::unique_ptr<TextFile> askExistingFile(Console& console, FileSystem& fs,
                                          const ExistingFileQuestion& question, std::string& name) {
  name = askFileName(console);
  for (bool first = true;; first = false) {
    if (isBlank(name) && (first || question.default_on_retry)) {
      name = padRight(question.default_name, kFileNameWidth);
    }
    if (auto file = fs.openExisting(trimName(name))) return file;
    console.blank();
    console.writeLine("  *** ERROR *** File does not exist");
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
    if (auto file = fs.createNew(trimName(name))) return file;
    console.blank();
    console.writeLine("  *** ERROR *** File already exists");
    console.writeLine(question.repeat_rejected ? " Type another name, not " + name
                                               : std::string(" Type another name"));
    name = askFileName(console);
  }
}

}  // namespace veg
