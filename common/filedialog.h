// The file-name questions of every program: a name of up to 20 characters is
// held as it always was (20 columns, blank-padded), a longer one whole, up to
// 255 characters; an existing file is asked for until one opens, a new file
// until one is created; nothing is ever overwritten. A name that cannot be
// used is answered with the reason. The caller shows the question.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/files.h"

namespace veg {

/// Width in which file names of up to that many characters are held.
constexpr std::size_t kFileNameWidth = 20;
/// The longest file name the dialogs take.
constexpr std::size_t kMaxFileNameLength = 255;

/// Reads one line as a file name: without its trailing blanks, blank-padded
/// to 20 columns when it is shorter than that, else whole.
std::string askFileName(Console& console);

struct ExistingFileQuestion {
  std::string_view default_name;  // opened for a blank reply
  bool default_on_retry = true;   // false: after a failure a blank reply fails again
};

/// Reads names until a regular file opens for reading; after each failure
/// shows an empty line, the reason ("  *** ERROR *** File does not exist",
/// or that the name is too long, a directory, a device or a pipe, or a file
/// that cannot be read) and " Type another name", and reads again (the
/// question is not repeated). `name` holds the name opened, as
/// askFileName holds it.
std::unique_ptr<TextFile> askExistingFile(Console& console, FileSystem& fs,
                                          const ExistingFileQuestion& question, std::string& name);

struct NewFileQuestion {
  std::string_view default_name;  // created through createDefaultOrVariant for a blank reply
  bool default_on_retry = true;   // false: after a failure a blank reply fails again
  bool repeat_rejected = true;    // " Type another name, not " and the name
};

/// Reads names until a new file is created: a blank reply takes the default
/// or its first free numbered variant (createDefaultOrVariant); a typed name
/// that cannot be created is answered with an empty line, the reason
/// ("  *** ERROR *** File already exists", or that the name is too long, is
/// a directory, a device or a pipe, or cannot be created) and " Type another
/// name" (with ", not " and the rejected name as askFileName holds it when
/// `repeat_rejected`), and another name is read. When no variant of the
/// default can be created, says so and ends the program through `hold`.
/// `name` holds the name created, as askFileName holds it.
std::unique_ptr<TextFile> askNewFile(Console& console, FileSystem& fs,
                                     const NewFileQuestion& question, std::string& name);

}  // namespace veg
