#include "vegmatch/report.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/fields.h"
#include "common/hold.h"
#include "engine/grading.h"
#include "vegmatch/dialogs.h"

namespace vegmatch {

using veg::fmtInt;
using veg::padRight;

namespace {

// The texts of one reported community, blank when it scores too little.
struct Reported {
  std::string nvc_code, community_name, subcommunity_name, eunis_code, eunis_name;
};

Reported textsOf(const Tables& tables, int k) {
  if (tables.scores.fit_score[k] < 0.0001f)
    return {std::string(6, ' '), std::string(24, ' '), std::string(16, ' '), std::string(8, ' '),
            std::string(24, ' ')};
  return {padRight(tables.cross_reference.nvc_code[k], 6),
          padRight(tables.cross_reference.community_name[k], 24),
          padRight(tables.cross_reference.subcommunity_name[k], 16),
          padRight(tables.cross_reference.eunis_code[k], 8),
          padRight(tables.cross_reference.eunis_name[k], 24)};
}

}  // namespace

namespace {

// The columns of a table line, filled in place: a text blank-padded or cut
// to its field, a number right-justified or asterisks (as padRight and
// fmtInt give them).
class LineColumns {
 public:
  void text(std::string_view text, std::size_t width) {
    const std::size_t kept = std::min(width, text.size());
    if (kept > 0) std::memcpy(line_ + end_, text.data(), kept);
    std::memset(line_ + end_ + kept, ' ', width - kept);
    end_ += width;
  }
  void number(int value, std::size_t width) {
    char digits[16];
    const char* last = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<std::size_t>(last - digits);
    if (length > width) {
      std::memset(line_ + end_, '*', width);
    } else {
      std::memset(line_ + end_, ' ', width - length);
      std::memcpy(line_ + end_ + width - length, digits, length);
    }
    end_ += width;
  }
  void literal(std::string_view text) { this->text(text, text.size()); }
  std::string_view line() const { return {line_, end_}; }

 private:
  char line_[kTableLineWidth] = {};
  std::size_t end_ = 0;
};

}  // namespace

void appendTableLine(std::string& out, const Tables& tables, int k, int analysis_type) {
  const engine::CrossReference& texts = tables.cross_reference;
  const bool shown = tables.scores.fit_score[k] >= 0.0001f;
  LineColumns columns;
  const auto text = [&](const engine::Texts& of, std::size_t width) {
    columns.text(shown ? std::string_view(of[k]) : std::string_view(), width);
  };
  int fit = engine::printedPercent(tables.scores.fit_score[k]);
  int composition = engine::printedPercent(tables.scores.community_composition_fit[k]);
  int sample_composition = engine::printedPercent(tables.scores.sample_composition_fit[k]);
  int cover = engine::printedPercent(tables.scores.community_cover_fit[k]);
  int sample_cover = engine::printedPercent(tables.scores.sample_cover_fit[k]);
  engine::zeroUnusedColumns(analysis_type, composition, cover, sample_cover);
  columns.literal(" ");
  text(texts.eunis_code, 8);
  text(texts.nvc_code, 6);
  columns.number(fit, 3);
  columns.literal(" |");
  columns.number(composition, 3);
  columns.number(sample_composition, 4);
  columns.number(cover, 4);
  columns.number(sample_cover, 4);
  columns.literal("| ");
  text(texts.community_name, 24);
  columns.literal(" ");
  text(texts.subcommunity_name, 16);
  out += columns.line();
}

std::string tableLine(const Tables& tables, int k, int analysis_type) {
  std::string line;
  appendTableLine(line, tables, k, analysis_type);
  return line;
}

void writeAnswers(Io& io, const Tables& tables,
                  const std::array<short, kMaxOutput + 1>& top_community, int n_output,
                  int record_entry, const std::string& sample_name, RunSettings& settings) {
  veg::Console& console = io.console;
  // Places beyond the number of communities hold no community.
  const int filled = std::min(n_output, tables.n_communities);
  // The table lines of a datafile run go to the answers file at once; with
  // the report on the screen each line goes to the file before the screen.
  std::string text;
  text.reserve(static_cast<std::size_t>(std::max(filled, 0)) * (kTableLineWidth + 1));
  for (int i = 1; i <= filled; ++i) {
    const int k = top_community[i];
    const std::size_t start = text.size();
    appendTableLine(text, tables, k, settings.analysis_type);
    text += '\n';
    if (record_entry != 1) continue;
    const std::string_view line(text.data() + start, text.size() - start - 1);
    io.answer(line);
    if (i == 1) {
      const Reported t = textsOf(tables, k);
      const int fit = engine::printedPercent(tables.scores.fit_score[k]);
      console.blank(7);
      console.writeLine(" NVC type of " + padRight(sample_name, 8) + " is " + t.nvc_code +
                        " with goodness of fit " + fmtInt(fit, 3) + " - " + engine::grade(fit));
      console.writeLine(" NVC Community: " + t.community_name +
                        "   Subcommunity: " + t.subcommunity_name);
      console.writeLine(" EUNIS        : " + t.eunis_name + "   " + t.eunis_code);
      console.blank(4);
      console.writeLine(" Analysis of top" + fmtInt(filled, 2) + " possibilities");
      console.blank();
    }
    console.writeLine(line);
  }
  if (record_entry != 1) io.answerText(text);
  io.flush();
  if (record_entry == 0) return;

  for (;;) {
    console.blank(5);
    console.writeLine(" Press <RETURN> to continue");
    console.writeLine("   or type r to reset parameters");
    console.writeLine("   or type e to exit");
    const std::string reply = console.ask();
    const char choice = reply.empty() ? ' ' : reply[0];
    if (choice == ' ') return;
    if (choice == 'r' || choice == 'R') {
      askAnalysisParameters(console, settings);
      return;
    }
    if (choice == 'e' || choice == 'E') veg::holdAndStop(console);
  }
}

}  // namespace vegmatch
