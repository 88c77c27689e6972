// What the two readers of vegfit share: the lines of an input, counted
// and made UTF-8, and the small text helpers of their messages.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/fields.h"
#include "engine/parser.h"
#include "vegfit/reader.h"
#include "vegfit/text.h"

namespace vegfit::input {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr int kMaxFrequency = 100;  // the largest maximum frequency a sample may have
// The parts of a sample or group named by several columns are joined by
// this in the name shown; the key keeps them apart with a unit separator.
inline constexpr std::string_view kPartSeparator = "/";
inline constexpr char kKeySeparator = '\x1f';

// True when a byte of `s` is above 0x7F: eight bytes at a time, as this
// runs for every line of a large input.
inline bool hasHighBytes(std::string_view s) {
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) return true;
  }
  for (; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) & 0x80) return true;
  return false;
}

inline std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

inline std::string folded(std::string_view s) {
  std::string out;
  for (char c : trimmed(s)) out += engine::lowerAscii(c);
  return out;
}

inline std::string at(const std::string& name, int line) {
  return name + ":" + std::to_string(line);
}

// A value with one decimal, in as many columns as it needs.
inline std::string oneDecimal(float value) {
  std::string text = veg::fmtReal(value, 12, 1);
  return text.substr(text.find_first_not_of(' '));
}

inline std::string quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

// A whole number from `low` to `high`; an empty field is `empty`.
inline bool readCount(std::string_view text, int low, int high, int empty, int& value) {
  text = trimmed(text);
  if (text.empty()) {
    value = empty;
    return true;
  }
  int number = 0;
  auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (fault != std::errc() || end != text.data() + text.size() || number < low || number > high)
    return false;
  value = number;
  return true;
}

}  // namespace vegfit::input

namespace vegfit {

// Reads the lines of one input, counting them, with one line that can be
// put back (the first line of standard input, read to tell its kind). A
// line that is not UTF-8 is read as Windows-1252.
class InputReader::Lines {
 public:
  explicit Lines(veg::TextFile& file) : file_(file) {}
  bool next(std::string& line) {
    if (held_) {
      held_ = false;
      line.swap(held_line_);
    } else if (!file_.readLine(line)) {
      return false;
    }
    ++number_;
    if (number_ == 1 && line.compare(0, input::kByteOrderMark.size(), input::kByteOrderMark) == 0)
      line.erase(0, input::kByteOrderMark.size());
    if (input::hasHighBytes(line) && !isUtf8(line)) {
      converted_.clear();
      appendWindows1252AsUtf8(line, converted_);
      line.swap(converted_);
    }
    return true;
  }
  void putBack(std::string line) {
    held_line_ = std::move(line);
    held_ = true;
    --number_;
  }
  int number() const { return number_; }

 private:
  veg::TextFile& file_;
  std::string held_line_, converted_;
  bool held_ = false;
  int number_ = 0;
};

}  // namespace vegfit
