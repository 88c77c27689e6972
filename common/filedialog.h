// The file-name questions of every program: a name is read as it is held (20
// columns), an existing file is asked for until one opens, a new file until
// one is created; nothing is ever overwritten. The caller shows the question.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/files.h"

namespace veg {

/// Width in which file names are read and held.
constexpr std::size_t kFileNameWidth = 20;

/// Reads one line and keeps its first 20 characters, blank-padded.
std::string askFileName(Console& console);

struct ExistingFileQuestion {
  std::string_view default_name;  // opened for a blank reply
  bool default_on_retry = true;   // false: after a failure a blank reply fails again
};

/// Reads names until a file opens for reading; after each failure shows an
/// empty line, "  *** ERROR *** File does not exist" and " Type another name"
/// and reads again (the question is not repeated). `name` (20 columns) holds
/// the name opened.
std::unique_ptr<TextFile> askExistingFile(Console& console, FileSystem& fs,
                                          const ExistingFileQuestion& question, std::string& name);

struct NewFileQuestion {
  std::string_view default_name;  // created through createDefaultOrVariant for a blank reply
  bool default_on_retry = true;   // false: after a failure a blank reply fails again
  bool repeat_rejected = true;    // " Type another name, not " and the name
};

/// Reads names until a new file is created: a blank reply takes the default
/// or its first free numbered variant (createDefaultOrVariant); a typed name that cannot be
/// created is answered with an empty line, "  *** ERROR *** File already
/// exists" and " Type another name" (with ", not " and the 20 columns of the
/// rejected name when `repeat_rejected`), and another name is read. When no
/// variant of the default can be created, says so and ends the program
/// through `hold`. `name` (20 columns) holds the name created.
std::unique_ptr<TextFile> askNewFile(Console& console, FileSystem& fs,
                                     const NewFileQuestion& question, std::string& name);

}  // namespace veg
