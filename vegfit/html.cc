#include "vegfit/html.h"

#include <cmath>

namespace vegfit {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the UTF-8 sequence that starts at text[i], 0 when the bytes
// there are not one (overlong forms, surrogates and values beyond U+10FFFF
// included).
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text) {
  std::size_t plain = 0;  // start of the run of bytes taken as they are
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::string_view instead;
    std::size_t length = 1;
    switch (c) {
      case '&': instead = "&amp;"; break;
      case '<': instead = "&lt;"; break;
      case '>': instead = "&gt;"; break;
      case '"': instead = "&quot;"; break;
      case '\'': instead = "&#39;"; break;
      default:
        if (c >= 0x80) {
          length = sequenceLength(text, i);
          if (length == 0) {
            instead = kReplacement;
            length = 1;
          }
        } else if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) {
          instead = kReplacement;
        }
    }
    if (!instead.empty()) {
      out.append(text.substr(plain, i - plain));
      out += instead;
      plain = i + length;
    }
    i += length;
  }
  out.append(text.substr(plain));
}

std::string escaped(std::string_view text) {
  std::string out;
  appendEscaped(out, text);
  return out;
}

std::string coordinate(double value) {
  const long long tenths = std::llround(value * 10);
  std::string out = tenths < 0 ? "-" : "";
  const long long magnitude = tenths < 0 ? -tenths : tenths;
  out += std::to_string(magnitude / 10);
  if (magnitude % 10 != 0) {
    out += '.';
    out += static_cast<char>('0' + magnitude % 10);
  }
  return out == "-0" ? "0" : out;
}

void HtmlWriter::start(std::string_view tag, std::initializer_list<Attribute> attributes) {
  out_ += '<';
  out_ += tag;
  for (const auto& [name, value] : attributes) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    appendEscaped(out_, value);
    out_ += '"';
  }
}

HtmlWriter& HtmlWriter::open(std::string_view tag, std::initializer_list<Attribute> attributes) {
  start(tag, attributes);
  out_ += '>';
  open_.push_back(tag);
  return *this;
}

HtmlWriter& HtmlWriter::close() {
  if (open_.empty()) return *this;
  out_ += "</";
  out_ += open_.back();
  out_ += '>';
  open_.pop_back();
  return *this;
}

HtmlWriter& HtmlWriter::closeTo(std::size_t depth) {
  while (open_.size() > depth) close();
  return *this;
}

HtmlWriter& HtmlWriter::element(std::string_view tag, std::string_view text,
                                std::initializer_list<Attribute> attributes) {
  open(tag, attributes);
  appendEscaped(out_, text);
  return close();
}

HtmlWriter& HtmlWriter::empty(std::string_view tag, std::initializer_list<Attribute> attributes) {
  start(tag, attributes);
  out_ += "/>";
  return *this;
}

HtmlWriter& HtmlWriter::row(std::initializer_list<Attribute> attributes) {
  start("tr", attributes);
  out_ += '>';
  return *this;
}

HtmlWriter& HtmlWriter::cell(std::string_view text, std::initializer_list<Attribute> attributes) {
  start("td", attributes);
  out_ += '>';
  appendEscaped(out_, text);
  return *this;
}

HtmlWriter& HtmlWriter::head(std::string_view text, std::initializer_list<Attribute> attributes) {
  start("th", attributes);
  out_ += '>';
  appendEscaped(out_, text);
  return *this;
}

HtmlWriter& HtmlWriter::text(std::string_view text) {
  appendEscaped(out_, text);
  return *this;
}

HtmlWriter& HtmlWriter::raw(std::string_view markup) {
  out_ += markup;
  return *this;
}

}  // namespace vegfit
