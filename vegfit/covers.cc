#include "vegfit/covers.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "engine/parser.h"

namespace vegfit {

namespace {

constexpr int kPercent = 1;
constexpr int kBraunBlanquet = 2;
constexpr int kDomin = 3;

// A written value and the value it stands for on one scale.
struct Word {
  std::string_view text;
  int scale;  // 0: every scale
  float value;
};

// The letters of the scales, as values on the scale that sample entry
// converts to percent cover: r, + and 1 are no cover, 2m the cover of 1,
// 2a and 2b the middle of their range (9 and 20 %).
constexpr std::array<Word, 7> kWords = {{
    {"+", kPercent, 0.0f},
    {"+", kBraunBlanquet, 0.5f},
    {"+", kDomin, 0.5f},
    {"r", kBraunBlanquet, 0.1f},
    {"2m", kBraunBlanquet, 1.0f},
    {"2a", kBraunBlanquet, 1.6f},
    {"2b", kBraunBlanquet, 2.2f},
}};

// "<1": the lowest value the scale holds.
constexpr std::array<float, 4> kLowest = {0.0f, 0.1f, 0.1f, 0.5f};

constexpr std::array<std::string_view, 4> kPresence = {"na", "p", "x", "present"};

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool equalFolded(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (engine::lowerAscii(text[i]) != lower[i]) return false;
  return true;
}

// A number of digits with at most one decimal point (or comma).
bool readNumber(std::string_view text, bool decimal_comma, double& number) {
  int digits = 0, points = 0;
  char buffer[32];
  if (text.empty() || text.size() >= sizeof buffer) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' || (decimal_comma && c == ',')) {
      ++points;
      c = '.';
    } else {
      return false;
    }
    buffer[i] = c;
  }
  if (digits == 0 || points > 1) return false;
  auto [end, fault] = std::from_chars(buffer, buffer + text.size(), number);
  return fault == std::errc() && end == buffer + text.size() && number < 1e7;
}

// A number, or a range "5-10" as its middle; `percent_sign` allows a "%"
// after it.
bool readAmount(std::string_view text, bool decimal_comma, bool percent_sign, double& number) {
  if (percent_sign && !text.empty() && text.back() == '%')
    text = trimmed(text.substr(0, text.size() - 1));
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return readNumber(text, decimal_comma, number);
  std::string_view low = trimmed(text.substr(0, dash)), high = trimmed(text.substr(dash + 1));
  if (percent_sign && !low.empty() && low.back() == '%')
    low = trimmed(low.substr(0, low.size() - 1));
  double a = 0, b = 0;
  if (!readNumber(low, decimal_comma, a) || !readNumber(high, decimal_comma, b) || b < a)
    return false;
  number = (a + b) / 2;
  return true;
}

CoverKind held(float value, float& out, short& tenths) {
  out = value;
  return engine::heldTenths(value, tenths) ? CoverKind::kValue : CoverKind::kBad;
}

}  // namespace

CoverKind readCover(std::string_view text, int cover_scale, bool decimal_comma, float& value,
                    short& tenths) {
  text = trimmed(text);
  // Whole numbers of up to four digits, most covers, read directly.
  if (!text.empty() && text.size() <= 4 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int whole = 0;
    for (char c : text) whole = whole * 10 + (c - '0');
    return held(static_cast<float>(whole), value, tenths);
  }
  if (text.empty() || std::any_of(kPresence.begin(), kPresence.end(),
                                  [&](std::string_view p) { return equalFolded(text, p); })) {
    value = 0;
    tenths = 0;
    return CoverKind::kPresence;
  }
  for (const Word& w : kWords)
    if (w.scale == cover_scale && equalFolded(text, w.text)) return held(w.value, value, tenths);
  if (text == "<1" && cover_scale >= kPercent && cover_scale <= kDomin)
    return held(kLowest[static_cast<std::size_t>(cover_scale)], value, tenths);
  double number = 0;
  if (!readAmount(text, decimal_comma, cover_scale == kPercent, number)) return CoverKind::kBad;
  // The value as the species line parser hands it on, then held as sample
  // entry holds it.
  return held(static_cast<float>(number), value, tenths);
}

std::string acceptedCovers(int cover_scale) {
  const std::string common =
      ", a range such as 2-4 (its middle), <1 (the lowest value), or NA, p, x, "
      "present or a blank for present without a cover";
  switch (cover_scale) {
    case kBraunBlanquet: return "r, +, 1, 2m, 2a, 2, 2b, 3, 4, 5 or a number from 0 to 5" + common;
    case kDomin: return "+, 1 to 10 or a number from 0 to 10" + common;
    default: return "a number from 0 to 100, with or without %" + common;
  }
}

const char* scaleName(int cover_scale) {
  switch (cover_scale) {
    case kBraunBlanquet: return "Braun-Blanquet";
    case kDomin: return "Domin";
    default: return "percent";
  }
}

}  // namespace vegfit
