#include "common/csv.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

namespace veg {

bool splitRecord(std::string_view text, std::size_t& pos, std::vector<std::string>& fields,
                 char separator) {
  std::size_t count = 0;
  auto next = [&]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
  };
  // A record without quotes is cut at its separators in whole pieces.
  std::size_t line_end = text.find('\n', pos);
  if (line_end == std::string_view::npos) line_end = text.size();
  std::string_view record = text.substr(pos, line_end - pos);
  if (record.find('"') == std::string_view::npos) {
    for (;;) {
      const std::size_t comma = record.find(separator);
      std::string_view piece = record.substr(0, comma);
      std::string& field = next();
      if (piece.find('\r') == std::string_view::npos) {
        field.assign(piece);
      } else {
        for (char c : piece)
          if (c != '\r') field += c;
      }
      if (comma == std::string_view::npos) break;
      record.remove_prefix(comma + 1);
    }
    fields.resize(count);
    pos = line_end < text.size() ? line_end + 1 : line_end;
    return true;
  }
  std::string* field = &next();
  bool quoted = false;
  while (pos < text.size()) {
    char c = text[pos++];
    if (quoted) {
      if (c != '"') {
        *field += c;
      } else if (pos < text.size() && text[pos] == '"') {
        *field += '"';
        ++pos;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      field = &next();
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      *field += c;
    }
  }
  fields.resize(count);
  return !quoted;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

// The high bit of every byte of `word` that equals `c`, and no other bit.
std::uint64_t bytesEqual(std::uint64_t word, char c) {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

}  // namespace

bool splitPlainRecord(std::string_view line, std::vector<std::string_view>& fields,
                      char separator) {
  fields.clear();
  // This runs for every line of a large file, most of them short: eight
  // characters at a time are searched for separators and for anything that
  // needs the full reader (bytes in memory order, lowest first).
  const char* data = line.data();
  const std::size_t size = line.size();
  std::size_t start = 0;
  std::size_t i = 0;
  auto special = [](char c) { return c == '"' || c == '\r' || c == '\n'; };
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + i, 8);
      if ((bytesEqual(word, '"') | bytesEqual(word, '\r') | bytesEqual(word, '\n')) != 0) {
        fields.clear();
        return false;
      }
      for (std::uint64_t commas = bytesEqual(word, separator); commas != 0; commas &= commas - 1) {
        const std::size_t comma = i + static_cast<std::size_t>(std::countr_zero(commas)) / 8;
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
      }
    }
  }
  for (; i < size; ++i) {
    const char c = data[i];
    if (c == separator) {
      fields.push_back(line.substr(start, i - start));
      start = i + 1;
    } else if (special(c)) {
      fields.clear();
      return false;
    }
  }
  fields.push_back(line.substr(start));
  return true;
}

void appendCsvField(std::string& out, std::string_view field) {
  const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) {
    out.append(field);
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

CsvTable CsvTable::parse(const std::string& text, const std::string& name) {
  CsvTable table;
  table.name_ = name;
  std::size_t pos = 0;
  int line = 1;
  std::vector<std::string> fields;
  bool header = true;
  while (pos < text.size()) {
    int start_line = line;
    std::size_t start = pos;
    if (!splitRecord(text, pos, fields))
      throw SourceError(name + " line " + std::to_string(start_line) + ": quote not closed");
    for (std::size_t i = start; i < pos; ++i)
      if (text[i] == '\n') ++line;
    if (fields.size() == 1 && fields[0].empty()) continue;  // blank line
    if (header) {
      table.header_ = fields;
      header = false;
    } else if (fields.size() != table.header_.size()) {
      throw SourceError(name + " line " + std::to_string(start_line) + ": " +
                        std::to_string(fields.size()) + " fields, header has " +
                        std::to_string(table.header_.size()));
    } else {
      table.rows_.push_back(fields);
    }
  }
  if (header) throw SourceError(name + ": no header row");
  return table;
}

CsvTable CsvTable::read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

CsvTable CsvTable::withRows(std::vector<std::vector<std::string>> rows) const {
  for (const auto& row : rows)
    if (row.size() != header_.size())
      throw SourceError(name_ + ": a row of " + std::to_string(row.size()) +
                        " fields, header has " + std::to_string(header_.size()));
  CsvTable table = *this;
  table.rows_ = std::move(rows);
  return table;
}

std::size_t CsvTable::column(const std::string& column) const {
  for (std::size_t i = 0; i < header_.size(); ++i)
    if (header_[i] == column) return i;
  throw SourceError(name_ + ": no column " + column);
}

}  // namespace veg
