#include "cornell/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace cornell {

namespace {

// ---- parsing the text into a small tree ----

// A format of 30 characters has fewer items than characters.
constexpr int kMaxNodes = 64;
// Skipped columns are summed up to this many; a line is never that long.
constexpr int kMaxSkipTotal = 10000;

struct Node {
  char kind = 'X';  // 'I', 'F', 'X' or 'G' (a parenthesised group)
  int repeat = 1;
  int width = 0;
  int decimals = 0;
  int first_child = -1;  // groups
  int next = -1;         // the next item of the same list
};

class Parser {
 public:
  explicit Parser(std::string_view text) {
    for (char c : text) {
      if (c == ' ') continue;
      text_[size_++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      if (size_ == sizeof text_) break;
    }
  }

  /// The top-level list; -1 with `error` set when the text is no format.
  int parse() {
    if (size_ == 0 || text_[0] != '(') return fail("it does not begin with \"(\"");
    pos_ = 1;
    int first = list();
    if (!error.empty()) return -1;
    if (pos_ >= size_ || text_[pos_] != ')') return fail("its parentheses do not close");
    return first;
  }

  const Node& node(int i) const { return nodes_[i]; }

  std::string error;

 private:
  int fail(const char* why) {
    if (error.empty()) error = why;
    return -1;
  }

  bool digit() const { return pos_ < size_ && text_[pos_] >= '0' && text_[pos_] <= '9'; }

  /// An unsigned number, or -1 when none stands here; large ones stop at
  /// 100000 so they are refused, never overflow.
  int number() {
    if (!digit()) return -1;
    int n = 0;
    while (digit()) {
      n = std::min(n * 10 + (text_[pos_++] - '0'), 100000);
    }
    return n;
  }

  int list() {
    int first = -1, last = -1;
    for (;;) {
      int n = item();
      if (n < 0) return -1;
      if (last < 0) {
        first = n;
      } else {
        nodes_[last].next = n;
      }
      last = n;
      if (pos_ < size_ && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      return first;
    }
  }

  int item() {
    if (count_ == kMaxNodes) return fail("it has too many items");
    const int repeat = number();
    if (repeat == 0) return fail("a repeat count is 0");
    if (pos_ >= size_) return fail("its parentheses do not close");
    Node n;
    const char c = text_[pos_++];
    if (c == 'x') {
      n.kind = 'X';
      n.width = repeat < 0 ? 1 : repeat;
      if (n.width > kMaxSkip) return fail("an X skip is too long");
    } else {
      n.repeat = repeat < 0 ? 1 : repeat;
      if (n.repeat > kMaxRepeat) return fail("a repeat count is too large");
      if (c == 'i' || c == 'f') {
        n.kind = c == 'i' ? 'I' : 'F';
        n.width = number();
        if (n.width < 1) return fail("an I or F edit has no width");
        if (n.width > kMaxFieldWidth) return fail("a field is too wide");
        if (n.kind == 'F') {
          if (pos_ >= size_ || text_[pos_] != '.') return fail("an F edit has no decimals");
          ++pos_;
          n.decimals = number();
          if (n.decimals < 0) return fail("an F edit has no decimals");
          if (n.decimals > kMaxFieldWidth) return fail("a field is too wide");
        } else if (pos_ < size_ && text_[pos_] == '.') {
          return fail("an I edit has decimals");
        }
      } else if (c == '(') {
        n.kind = 'G';
        n.first_child = list();
        if (n.first_child < 0) return -1;
        if (pos_ >= size_ || text_[pos_] != ')') return fail("its parentheses do not close");
        ++pos_;
      } else {
        return fail("it holds an edit other than I, F, X or a group");
      }
    }
    nodes_[count_] = n;
    return count_++;
  }

  char text_[128] = {};
  int size_ = 0;
  int pos_ = 0;
  Node nodes_[kMaxNodes];
  int count_ = 0;
};

// ---- flattening the tree into edits ----

class Flattener {
 public:
  Flattener(const Parser& parser, CompiledFormat& format) : p_(parser), f_(format) {}

  void top(int first) {
    int last_group = -1;
    for (int i = first; i >= 0; i = p_.node(i).next) {
      if (p_.node(i).kind == 'G') last_group = i;
    }
    for (int i = first; i >= 0 && !full_ && f_.ok; i = p_.node(i).next) {
      if (i == last_group) {
        f_.reversion = f_.count;
        floor_ = f_.count;
      }
      expand(i);
    }
  }

  int values() const { return values_; }

 private:
  bool hasValues(int i) const {
    const Node& n = p_.node(i);
    if (n.kind == 'I' || n.kind == 'F') return true;
    if (n.kind == 'X') return false;
    for (int c = n.first_child; c >= 0; c = p_.node(c).next) {
      if (hasValues(c)) return true;
    }
    return false;
  }

  int skipWidth(int i) const {
    const Node& n = p_.node(i);
    if (n.kind == 'X') return n.width;
    long long sum = 0;
    for (int c = n.first_child; c >= 0; c = p_.node(c).next) sum += skipWidth(c);
    return static_cast<int>(std::min<long long>(sum * n.repeat, kMaxSkipTotal));
  }

  void push(const Edit& edit) {
    if (edit.kind == 'X' && f_.count > floor_ && f_.edits[f_.count - 1].kind == 'X') {
      int& width = f_.edits[f_.count - 1].width;
      width = std::min(width + edit.width, kMaxSkipTotal);
      return;
    }
    if (f_.count == kMaxEdits) {
      f_.ok = false;
      f_.error = "it has too many items";
      return;
    }
    f_.edits[f_.count++] = edit;
    // No read takes more items than this: the rest of the format is never
    // reached, and the expansion can stop.
    if (edit.kind != 'X' && ++values_ == kMaxReadItems) full_ = true;
  }

  void expand(int i) {
    const Node& n = p_.node(i);
    if (n.kind == 'X' || (n.kind == 'G' && !hasValues(i))) {
      push({'X', n.kind == 'X' ? n.width : skipWidth(i), 0});
      return;
    }
    for (int r = 0; r < n.repeat && !full_ && f_.ok; ++r) {
      if (n.kind == 'G') {
        for (int c = n.first_child; c >= 0 && !full_ && f_.ok; c = p_.node(c).next) expand(c);
      } else {
        push({n.kind, n.width, n.decimals});
      }
    }
  }

  const Parser& p_;
  CompiledFormat& f_;
  int floor_ = 0;  // skips are not merged across the start of the last group
  int values_ = 0;
  bool full_ = false;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CompiledFormat compileFormat(std::string_view text) {
  CompiledFormat format;
  Parser parser(text);
  const int first = parser.parse();
  if (first < 0) {
    format.error = parser.error;
    return format;
  }
  format.ok = true;
  Flattener flattener(parser, format);
  flattener.top(first);
  if (!format.ok) return format;
  if (flattener.values() == 0) {
    format.ok = false;
    format.error = "it has no I or F edit";
    return format;
  }
  for (int e = format.reversion; e < format.count; ++e) {
    if (format.edits[e].kind != 'X') format.reversion_has_values = true;
  }
  return format;
}

bool oneValuePerSpecies(const CompiledFormat& format) {
  if (!format.ok) return false;
  // The kinds of the first two value edits of a read, the second taken
  // after the format is taken up again when the format holds only one.
  char kinds[2] = {};
  int found = 0;
  for (int e = 0; e < format.count && found < 2; ++e) {
    if (format.edits[e].kind != 'X') kinds[found++] = format.edits[e].kind;
  }
  for (int e = format.reversion; e < format.count && found < 2; ++e) {
    if (format.edits[e].kind != 'X') kinds[found++] = format.edits[e].kind;
  }
  return found == 2 && kinds[0] == 'I' && kinds[1] == 'F';
}

std::string_view itemName(int item) {
  if (item == 0) return "sample number";
  return item % 2 == 1 ? "species number" : "value";
}

bool readIntEdit(std::string_view field, long long& value) {
  bool negative = false, sign = false, digits = false;
  long long v = 0;
  for (char c : field) {
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !sign && !digits) {
      sign = true;
      negative = c == '-';
    } else if (isDigit(c)) {
      digits = true;
      v = v * 10 + (c - '0');
      if (v > 2147483647LL) return false;
    } else {
      return false;
    }
  }
  value = negative ? -v : v;
  return true;
}

bool readRealEdit(std::string_view field, int decimals, float& value) {
  // The number is rebuilt without blanks as "-ddd.ddde-n" and converted
  // once, so the value is the single-precision number nearest the text.
  char buffer[kMaxFieldWidth + 32];
  std::size_t n = 0;
  bool sign = false, point = false, mantissa = false;
  std::size_t i = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !sign && !mantissa && !point) {
      sign = true;
      if (c == '-') buffer[n++] = '-';
    } else if (isDigit(c)) {
      mantissa = true;
      buffer[n++] = c;
    } else if (c == '.' && !point) {
      point = true;
      buffer[n++] = '.';
    } else {
      break;
    }
    if (n + 16 > sizeof buffer) return false;
  }
  long long exponent = 0;
  if (i < field.size()) {
    char c = field[i];
    if (!mantissa) return false;
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    bool negative = false, exp_sign = false, exp_digits = false;
    for (; i < field.size(); ++i) {
      c = field[i];
      if (c == ' ') continue;
      if ((c == '+' || c == '-') && !exp_sign && !exp_digits) {
        exp_sign = true;
        negative = c == '-';
      } else if (isDigit(c)) {
        exp_digits = true;
        exponent = std::min(exponent * 10 + (c - '0'), 100000LL);
      } else {
        return false;
      }
    }
    if (!exp_digits) return false;
    if (negative) exponent = -exponent;
  }
  if (!mantissa) {
    value = 0;
    return true;
  }
  // Without a point the last d digits are the decimals.
  if (!point) exponent -= decimals;
  buffer[n++] = 'e';
  auto [end, ec] = std::to_chars(buffer + n, buffer + sizeof buffer, exponent);
  if (ec != std::errc()) return false;
  float result = 0;
  auto parsed = std::from_chars(buffer, end, result);
  if (parsed.ec != std::errc() || parsed.ptr != end) return false;
  value = result;
  return true;
}

void appendInt(std::string& out, long long value, int width) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  const int length = static_cast<int>(end - digits);
  if (length > width) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  out.append(static_cast<std::size_t>(width - length), ' ');
  out.append(digits, end);
}

void appendReal(std::string& out, double value, int width, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // std::round takes halfway cases away from zero, as every field of the
  // suite does.
  const double scaled = std::round(std::fabs(value) * scale);
  if (!(scaled < 9e17)) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  const auto units = static_cast<unsigned long long>(scaled);
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, units);
  const int length = static_cast<int>(end - digits);
  const bool negative = value < 0 && units != 0;
  const int whole = std::max(length - decimals, 0);  // digits before the point
  const int bare = (negative ? 1 : 0) + whole + 1 + decimals;
  // A 0 before the point when there is room for it (and always when it would
  // be the only digit).
  const bool zero = whole == 0 && (bare + 1 <= width || decimals == 0);
  const int size = bare + (zero ? 1 : 0);
  if (size > width) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  out.append(static_cast<std::size_t>(width - size), ' ');
  if (negative) out += '-';
  if (zero) out += '0';
  out.append(digits, digits + whole);
  out += '.';
  if (length < decimals) out.append(static_cast<std::size_t>(decimals - length), '0');
  out.append(digits + whole, end);
}

namespace detail {

bool fits(const Edit& edit, int item) {
  return (item == 0 || item % 2 == 1) ? edit.kind == 'I' : edit.kind == 'F';
}

void appendItem(std::string& out, const Edit& edit, const DataRecord& record, int item) {
  if (item == 0) {
    appendInt(out, record.sample, edit.width);
  } else if (item % 2 == 1) {
    appendInt(out, record.species[(item + 1) / 2], edit.width);
  } else {
    appendReal(out, record.value[item / 2], edit.width, edit.decimals);
  }
}

}  // namespace detail

bool readRecord(const CompiledFormat& format, LineSource& source, int couplets, DataRecord& record,
                std::string& line, ReadFailure& failure) {
  failure = ReadFailure{};
  if (!format.ok) {
    failure.kind = ReadFailure::kUnusable;
    return false;
  }
  if (!source.next(line)) {
    failure.kind = ReadFailure::kEndOfFile;
    return false;
  }
  const int items = 1 + 2 * std::clamp(couplets, 0, kMaxCouplets);
  std::size_t pos = 0;
  int e = 0;
  for (int item = 0; item < items; ++item) {
    for (;;) {
      if (e == format.count) {
        failure.item = item;
        if (!format.reversion_has_values) {
          failure.kind = ReadFailure::kNoValues;
          return false;
        }
        ++failure.line_offset;
        if (!source.next(line)) {
          failure.kind = ReadFailure::kEndOfFile;
          return false;
        }
        pos = 0;
        e = format.reversion;
      }
      const Edit& edit = format.edits[e++];
      if (edit.kind == 'X') {
        pos += static_cast<std::size_t>(edit.width);
        continue;
      }
      failure.item = item;
      failure.edit = edit;
      failure.column = static_cast<int>(pos) + 1;
      if (!detail::fits(edit, item)) {
        failure.kind = ReadFailure::kWrongKind;
        return false;
      }
      const std::string_view field =
          pos < line.size() ? std::string_view(line).substr(pos, edit.width) : std::string_view();
      pos += static_cast<std::size_t>(edit.width);
      bool read = true;
      if (edit.kind == 'I') {
        long long v = 0;
        read = readIntEdit(field, v);
        if (item == 0) {
          record.sample = static_cast<int>(v);
        } else {
          record.species[(item + 1) / 2] = static_cast<int>(v);
        }
      } else {
        read = readRealEdit(field, edit.decimals, record.value[item / 2]);
      }
      if (!read) {
        failure.kind = ReadFailure::kBadField;
        return false;
      }
      break;
    }
  }
  failure = ReadFailure{};
  return true;
}

}  // namespace cornell
