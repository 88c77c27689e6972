#include "vegmatch/report.h"

#include <algorithm>

#include "common/fields.h"
#include "common/hold.h"
#include "vegmatch/dialogs.h"
#include "vegmatch/fit.h"

namespace vegmatch {

using veg::fmtInt;
using veg::padRight;

namespace {

constexpr char ratvp[] = "very poor";
constexpr char ratp[] = "poor     ";
constexpr char ratf[] = "fair     ";
constexpr char ratg[] = "good     ";
constexpr char ratvg[] = "very good";

// The texts of one reported community, blank when it scores too little.
struct Reported {
  std::string nvc_code, community_name, subcommunity_name, eunis_code, eunis_name;
};

Reported textsOf(const Tables& tables, int k) {
  if (tables.calc3.fit_score[k] < 0.0001f)
    return {std::string(6, ' '), std::string(24, ' '), std::string(16, ' '), std::string(8, ' '),
            std::string(24, ' ')};
  return {padRight(tables.calc3.nvc_code[k], 6), padRight(tables.calc3.community_name[k], 24),
          padRight(tables.calc4.subcommunity_name[k], 16), padRight(tables.calc4.eunis_code[k], 8),
          padRight(tables.calc4.eunis_name[k], 24)};
}

}  // namespace

const char* grade(int fit_percent) {
  if (fit_percent <= 49) return ratvp;
  if (fit_percent <= 59) return ratp;
  if (fit_percent <= 69) return ratf;
  if (fit_percent <= 79) return ratg;
  return ratvg;
}

void zerout(int analysis_type, int& community_composition, int& community_cover,
            int& sample_cover) {
  switch (analysis_type) {
    case 2: community_cover = sample_cover = 0; break;
    case 3: community_composition = 0; break;
    case 4: community_composition = community_cover = sample_cover = 0; break;
    case 5: community_composition = 0; break;
    default: break;
  }
}

std::string tableLine(const Tables& tables, int k, int analysis_type) {
  const Reported t = textsOf(tables, k);
  int fit = percent(tables.calc3.fit_score[k]);
  int composition = percent(tables.calc3.community_composition_fit[k]);
  int sample_composition = percent(tables.calc3.sample_composition_fit[k]);
  int cover = percent(tables.calc6.community_cover_fit[k]);
  int sample_cover = percent(tables.calc5.sample_cover_fit[k]);
  zerout(analysis_type, composition, cover, sample_cover);
  return " " + t.eunis_code + t.nvc_code + fmtInt(fit, 3) + " |" + fmtInt(composition, 3) +
         fmtInt(sample_composition, 4) + fmtInt(cover, 4) + fmtInt(sample_cover, 4) + "| " +
         t.community_name + " " + t.subcommunity_name;
}

void outans(Io& io, const Tables& tables, const std::array<short, kMaxOutput + 1>& top_community,
            int n_output, int record_entry, const std::string& sample_name, few& settings) {
  veg::Console& console = io.console;
  // Places beyond the number of communities hold no community.
  const int filled = std::min(n_output, tables.n_communities);
  for (int i = 1; i <= filled; ++i) {
    const int k = top_community[i];
    const std::string line = tableLine(tables, k, settings.analysis_type);
    io.answer(line);
    if (record_entry != 1) continue;
    if (i == 1) {
      const Reported t = textsOf(tables, k);
      const int fit = percent(tables.calc3.fit_score[k]);
      console.blank(7);
      console.writeLine(" NVC type of " + padRight(sample_name, 8) + " is " + t.nvc_code +
                        " with goodness of fit " + fmtInt(fit, 3) + " - " + grade(fit));
      console.writeLine(" NVC Community: " + t.community_name +
                        "   Subcommunity: " + t.subcommunity_name);
      console.writeLine(" EUNIS        : " + t.eunis_name + "   " + t.eunis_code);
      console.blank(4);
      console.writeLine(" Analysis of top" + fmtInt(filled, 2) + " possibilities");
      console.blank();
    }
    console.writeLine(line);
  }
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
      reset(console, settings);
      return;
    }
    if (choice == 'e' || choice == 'E') veg::holdAndStop(console);
  }
}

}  // namespace vegmatch
