// CSV files (the builder's source tables, vegfit's input and output):
// UTF-8 text, LF or CR LF line ends, a header row, fields optionally quoted
// ("a, b" and "say ""x""" both hold one field).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veg {

/// A malformed source table; the message names the file and the line.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// One CSV table: its column names and its data rows (header excluded).
class CsvTable {
 public:
  /// Parses `text`; `name` is used in error messages. Throws SourceError on an
  /// unterminated quote or a row whose field count differs from the header's.
  static CsvTable parse(const std::string& text, const std::string& name);
  /// Reads and parses the file at `path`; throws SourceError when unreadable.
  static CsvTable read(const std::string& path);

  /// The index of column `column`; throws SourceError when the header lacks it.
  std::size_t column(const std::string& column) const;
  const std::vector<std::string>& header() const { return header_; }
  const std::vector<std::vector<std::string>>& rows() const { return rows_; }
  /// The same table (name and columns) holding `rows` instead; throws
  /// SourceError for a row whose field count differs from the header's.
  CsvTable withRows(std::vector<std::vector<std::string>> rows) const;
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
};

/// Splits one CSV record into fields at `separator` (a comma, or a
/// semicolon or tab as some spreadsheets write); `pos` starts at the record
/// and is left after its line end. A quoted field may span line ends. Returns false when
/// a quote is not closed before the end of `text`. The strings of `fields`
/// are reused, so splitting record after record allocates nothing once
/// they have grown.
bool splitRecord(std::string_view text, std::size_t& pos, std::vector<std::string>& fields,
                 char separator = ',');

/// Splits `line`, one whole record without quotes or carriage returns,
/// into views of its fields (no copy); false, and `fields` empty, for any
/// other line, which splitRecord takes apart.
bool splitPlainRecord(std::string_view line, std::vector<std::string_view>& fields,
                      char separator = ',');

/// `field` as a CSV field: quoted (inner quotes doubled) when it holds a
/// comma, a quote, a line end or leading or trailing blanks; as it is
/// otherwise. Appended to `out`.
void appendCsvField(std::string& out, std::string_view field);

}  // namespace veg
