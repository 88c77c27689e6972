// The file seam: programs reach the disk only through FileSystem, so tests
// can hand in an in-memory one.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace veg {

/// Thrown when a file cannot be read or written (a full disk, a file-size
/// limit, a read error): the program reports it with the file's name and
/// ends through `hold` (see runProgram).
struct FileError {
  std::string name;    // the file's name as opened or created
  bool writing;        // true for a failed write or flush
  std::string reason;  // the system's reason, e.g. "No space left on device"
};

/// One open text file, read or written a whole line at a time. Destroying it
/// closes it, with everything written flushed.
class TextFile {
 public:
  virtual ~TextFile() = default;
  /// Reads the next line without its line end; false at end of file. A read
  /// error is never taken for the end: it throws FileError.
  virtual bool readLine(std::string& line) = 0;
  /// Reads the next line as readLine does but keeps only its first `limit`
  /// characters: the rest of the line is read past and dropped, so a line of
  /// any length costs no more than `limit` characters of memory.
  virtual bool readLinePrefix(std::string& line, std::size_t limit);
  /// Reads the rest of the file at once: appends to `text` every line that
  /// readLine would return from here on, each followed by a line feed, so
  /// that the lines can be taken apart where they lie. A read error throws
  /// FileError, as readLine does, with the lines read before it appended.
  /// This default reads line by line; a file may read its bytes whole.
  virtual void readRest(std::string& text);
  /// Appends one line; throws FileError when it cannot be written.
  virtual void writeLine(std::string_view line) = 0;
  /// Appends the lines of `text`, each ended by a line feed (the last may
  /// lack one), as writeLine would one by one; a file may write them at once.
  virtual void writeText(std::string_view text);
  /// Goes back to the start of the file.
  virtual void rewind() = 0;
  /// Pushes everything written so far to the file; throws FileError when
  /// that fails.
  virtual void flush() = 0;
};

/// What a name stands for on the disk, so that a dialog can say why a name
/// cannot be used.
enum class FileKind {
  kMissing,    // nothing of that name (or it cannot be looked at)
  kRegular,    // a regular file
  kDirectory,  // a directory
  kOther,      // a device, a pipe or a socket
};

/// The longest prefix of a line that the converters keep (TextFile::
/// readLinePrefix): far more than any line of a sample file or a Cornell
/// file, or a data format, can need.
constexpr std::size_t kLinePrefixLimit = std::size_t{1} << 16;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// What `name` stands for. This default knows only whether openExisting
  /// opens it (kRegular) or not (kMissing).
  virtual FileKind kindOf(const std::string& name);
  /// Opens an existing file for reading; null when it cannot be opened or is
  /// not a file that can be read as text (a directory).
  virtual std::unique_ptr<TextFile> openExisting(const std::string& name) = 0;
  /// Creates a new file for writing; null when a file of that name exists or
  /// the file cannot be created. Never overwrites.
  virtual std::unique_ptr<TextFile> createNew(const std::string& name) = 0;
  /// Creates a file for writing, replacing a file of that name (never a
  /// directory); null when that cannot be done. Only for programs whose user
  /// asked for it; this default replaces nothing.
  virtual std::unique_ptr<TextFile> createReplacing(const std::string& /*name*/) { return nullptr; }
  /// Gives the file `from` the name `to`, replacing a file of that name only
  /// when `replace` (never a directory); false when that cannot be done.
  /// This default renames nothing.
  virtual bool rename(const std::string& /*from*/, const std::string& /*to*/, bool /*replace*/) {
    return false;
  }
  /// Removes the file `name`; false when it cannot. This default removes
  /// nothing.
  virtual bool remove(const std::string& /*name*/) { return false; }
};

/// Files of the working directory (names are relative to it).
class RealFileSystem : public FileSystem {
 public:
  FileKind kindOf(const std::string& name) override;
  std::unique_ptr<TextFile> openExisting(const std::string& name) override;
  std::unique_ptr<TextFile> createNew(const std::string& name) override;
  std::unique_ptr<TextFile> createReplacing(const std::string& name) override;
  bool rename(const std::string& from, const std::string& to, bool replace) override;
  bool remove(const std::string& name) override;
};

/// An open stream (standard input or output) as a TextFile named `name`;
/// destroying it flushes the stream but leaves it open.
std::unique_ptr<TextFile> streamFile(std::FILE* stream, std::string name);

/// Lets a process that meets a file-size limit see the failed write (EFBIG)
/// instead of being killed by SIGXFSZ. Called first thing in every main.
void ignoreFileSizeSignal();

/// Makes standard output write its line feeds as they are, as every file
/// of the suite is written, also where the system would add carriage
/// returns (Windows); for the output of vegfit, which is a file's.
void writeBinaryStandardOutput();

/// A file name as held in a 20-column field, without its trailing blanks.
std::string trimName(std::string_view name20);

}  // namespace veg
