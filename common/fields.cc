#include "common/fields.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace veg {

std::string fmtInt(long long value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) > width) return std::string(width, '*');
  return std::string(width - digits.size(), ' ') + digits;
}

std::string fmtReal(double value, int width, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // std::round takes halfway cases away from zero, as the fields require;
  // printf would round them to even.
  double scaled = std::round(std::fabs(value) * scale);
  if (!(scaled < 9e17)) return std::string(width, '*');
  unsigned long long units = static_cast<unsigned long long>(scaled);
  std::string digits = std::to_string(units);
  if (static_cast<int>(digits.size()) <= decimals)
    digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string text = digits.substr(0, digits.size() - decimals);
  if (decimals > 0) text += "." + digits.substr(digits.size() - decimals);
  if (value < 0 && units != 0) text.insert(0, "-");
  if (static_cast<int>(text.size()) > width) return std::string(width, '*');
  return std::string(width - text.size(), ' ') + text;
}

std::string fmtText(std::string_view text, int width) {
  if (static_cast<int>(text.size()) >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string padRight(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(width, text.size())));
  out.resize(width, ' ');
  return out;
}

std::string column(std::string_view line, int first, int width) {
  std::size_t start = static_cast<std::size_t>(first - 1);
  if (start >= line.size()) return std::string(width, ' ');
  return padRight(line.substr(start), width);
}

void assignColumn(std::string& to, std::string_view line, int first, int width) {
  to.assign(columnView(line, first, width));
  to.resize(static_cast<std::size_t>(width), ' ');
}

bool isBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

namespace {

// Strips blanks and cuts at the first comma: what is left is the number.
std::string compact(std::string_view field) {
  std::string out;
  for (char c : field) {
    if (c == ',') break;
    if (c != ' ') out += c;
  }
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Read where the field lies: blanks are passed over as compact() would drop
// them, and a comma ends the number.
bool readIntField(std::string_view field, long long& value) {
  std::size_t i = field.find_first_not_of(' ');
  if (i == std::string_view::npos) i = field.size();
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  long long v = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c == ' ') continue;
    if (c == ',') break;
    if (!isDigit(c)) return false;
    v = v * 10 + (c - '0');
    if (v > 2147483647LL) return false;
  }
  value = negative ? -v : v;
  return true;
}

bool readRealField(std::string_view field, double& value) {
  std::string s = compact(field);
  std::size_t i = 0;
  std::string normal;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal += s[i++];
  bool point = false;
  int digits = 0;
  for (; i < s.size() && (isDigit(s[i]) || s[i] == '.'); ++i) {
    if (s[i] == '.') {
      if (point) return false;
      point = true;
    } else {
      ++digits;
    }
    normal += s[i];
  }
  long long exponent = 0;
  if (i < s.size()) {
    char c = s[i];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    std::string_view rest = std::string_view(s).substr(i);
    if (rest.find_first_of("0123456789") == std::string_view::npos) return false;
    if (!readIntField(rest, exponent)) return false;
  }
  if (digits == 0) {
    value = 0;
    return true;
  }
  normal += "e" + std::to_string(exponent);
  value = std::strtod(normal.c_str(), nullptr);
  return true;
}

}  // namespace veg
