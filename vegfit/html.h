// Writing HTML and inline SVG that is well-formed whatever the texts hold:
// every text and attribute value escaped, every element closed in the order
// it was opened. What the report (report.h) and its charts (charts.h)
// write with.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vegfit {

/// Appends `text` to `out` as HTML text or attribute value: & < > " and '
/// as character references, bytes that are not UTF-8 and control
/// characters other than tab and line end as U+FFFD, so that no input can
/// open or close an element or leave the document's encoding.
void appendEscaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

/// A number as an SVG coordinate: at most one decimal, no trailing zero
/// ("12", "12.5", "-3").
std::string coordinate(double value);

/// One attribute: its name (a literal) and value (escaped when written).
using Attribute = std::pair<std::string_view, std::string_view>;

/// Appends elements to a string. Tag and attribute names are the caller's
/// literals; texts and attribute values are escaped.
class HtmlWriter {
 public:
  explicit HtmlWriter(std::string& out) : out_(out) {}

  /// Opens element `tag`; it stays open until the matching close().
  HtmlWriter& open(std::string_view tag, std::initializer_list<Attribute> attributes = {});
  /// Closes the element opened last.
  HtmlWriter& close();
  /// Closes open elements until `depth` are left open.
  HtmlWriter& closeTo(std::size_t depth);
  /// An element holding only `text`.
  HtmlWriter& element(std::string_view tag, std::string_view text,
                      std::initializer_list<Attribute> attributes = {});
  /// An element without content, written "<tag .../>": one of HTML's void
  /// elements (meta, br) or an SVG element.
  HtmlWriter& empty(std::string_view tag, std::initializer_list<Attribute> attributes = {});
  /// A table row, "<tr>", and a cell, "<td>TEXT" or "<th>TEXT": HTML ends
  /// each at the next row or cell or at the end of the table's section, so
  /// their end tags are left out (a large report is a third smaller).
  HtmlWriter& row(std::initializer_list<Attribute> attributes = {});
  HtmlWriter& cell(std::string_view text, std::initializer_list<Attribute> attributes = {});
  HtmlWriter& head(std::string_view text, std::initializer_list<Attribute> attributes = {});
  /// Escaped text.
  HtmlWriter& text(std::string_view text);
  /// Markup of the program's own (the style sheet, the doctype): written as
  /// it is.
  HtmlWriter& raw(std::string_view markup);

  /// The elements open now.
  std::size_t depth() const { return open_.size(); }
  std::string& out() { return out_; }

 private:
  void start(std::string_view tag, std::initializer_list<Attribute> attributes);

  std::string& out_;
  std::vector<std::string_view> open_;
};

}  // namespace vegfit
