#include "vegfit/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "vegfit/charts.h"
#include "vegfit/html.h"
#include "vegfit/report_model.h"
#include "vegfit/text.h"

namespace vegfit {

namespace {

using nlohmann::json;
using report::Habitat;
using report::member;
using report::number;
using report::Ranked;
using report::Sample;
using report::text;
using report::whole;

// The ranked communities a sample's charts of indicators, its richness
// chart and its species table compare, at most: wider tables no longer
// read, and every fit is in the fit chart and table.
constexpr std::size_t kDetailUnits = 3;

constexpr std::array<char, 5> kLetters = {'F', 'L', 'N', 'R', 'S'};
constexpr std::array<std::string_view, 12> kMajorTypes = {"A",  "CG", "H",  "M",  "MC", "MG",
                                                          "OV", "S",  "SD", "SM", "U",  "W"};

const char kStyle[] =
    "body{font:13px/1.35 system-ui,-apple-system,'Segoe UI',Roboto,Helvetica,Arial,sans-serif;"
    "color:#222;margin:0 auto;max-width:62em;padding:1em}"
    "h1{font-size:1.6em;margin:.2em 0 .6em}h2{font-size:1.25em;border-bottom:1px solid #888;"
    "margin:.4em 0}h3{font-size:1em;margin:.8em 0 .3em}"
    "table{border-collapse:collapse;margin:.3em 0}"
    "th,td{padding:1px 5px;text-align:left;vertical-align:top;border-bottom:1px solid #ddd}"
    "thead th{border-bottom:1px solid #888}caption{text-align:left;font-weight:bold;padding:.3em 0}"
    "dt{font-weight:bold;float:left;clear:left;width:11em}dd{margin:0 0 .2em 11em}"
    ".pg{margin-top:2.5em}.row{display:flex;flex-wrap:wrap;gap:0 1em;align-items:flex-start}"
    ".fits td:nth-child(4),.ov td:nth-child(5){white-space:nowrap}.ind{font-size:.92em}"
    ".fc,.ic,.sc{display:block;max-width:100%;height:auto;margin:.3em 0}.fc{width:690px}"
    ".ic{width:290px}.sc{width:420px}svg.defs{position:absolute}"
    "text{font:9px sans-serif;fill:#222;text-anchor:end}.s{text-anchor:start}"
    ".m{text-anchor:middle}text.g{font-weight:bold}path{fill:none}"
    ".g0{fill:#f5cdc8}.g1{fill:#fbe0bd}.g2{fill:#fbf1bf}.g3{fill:#d8ebcb}.g4{fill:#b9e0c4}"
    ".trk{fill:#eee}.bar{stroke:#2f4b66;stroke-width:10}.rng{stroke:#8fa9a9;stroke-width:4}"
    ".mn{stroke:#222;stroke-width:2}.sm{stroke:#c0392b;stroke-width:2}"
    ".u1,.u2,.u3,.u4,.u5{stroke-width:1.5}"
    ".u1{stroke:#2f4b66;color:#2f4b66}.u2{stroke:#4f9a5e;color:#3d7a49}"
    ".u3{stroke:#c07f1c;color:#9a6412}.u4{stroke:#8661b0;color:#8661b0}"
    ".u5{stroke:#7a7a7a;color:#666}"
    ".fits td:nth-child(3),.fits td:nth-child(n+5):nth-child(-n+8),.ind td,.sp td:nth-child(2),.ov "
    "td:nth-child(4),"
    ".st td:nth-child(2){text-align:right}"
    ".sp td:first-child,.st td:first-child{font-style:italic}"
    "tbody.mc td:nth-child(n+2),.ms{color:#a0221a;font-weight:bold}"
    "tbody.mc th{font-weight:normal;font-style:italic;color:#a0221a}"
    ".key{font-size:.9em;color:#555}"
    "@page{size:A4;margin:12mm}"
    "@media print{body{font-size:8pt;line-height:1.25;max-width:none;padding:0}"
    ".pg{break-before:page;margin:0}th,td{padding:0 4px}"
    ".spw{flex:1 1 100%;columns:2;column-gap:1.5em}.sp{margin:0}"
    ".sp td:nth-child(n+2){white-space:nowrap}.iw{display:flex;gap:1em;align-items:flex-start}"
    "a{color:inherit;text-decoration:none}tr,svg{break-inside:avoid}h2,h3{break-after:avoid}"
    "*{-webkit-print-color-adjust:exact;print-color-adjust:exact}}";

std::string figure(int value) { return std::to_string(value); }

std::string twoDecimals(double value) {
  const long long cents = std::llround(value * 100);
  const long long magnitude = cents < 0 ? -cents : cents;
  std::string out = cents < 0 ? "\xE2\x88\x92" : "";  // a minus sign
  out += std::to_string(magnitude / 100) + '.';
  out += static_cast<char>('0' + magnitude / 10 % 10);
  out += static_cast<char>('0' + magnitude % 10);
  return out;
}

// ---- Codes in the order of the classification: major type, number, rest.

struct CodeParts {
  std::size_t type_place;  // in kMajorTypes; others after them
  std::string type;
  int number;
  std::string rest;
};

CodeParts codeParts(const std::string& code) {
  CodeParts p{kMajorTypes.size(), majorType(code), 0, {}};
  for (std::size_t t = 0; t < kMajorTypes.size(); ++t)
    if (p.type == kMajorTypes[t]) p.type_place = t;
  std::size_t i = p.type.size();
  while (i < code.size() && code[i] >= '0' && code[i] <= '9')
    p.number = p.number * 10 + (code[i++] - '0');
  p.rest = code.substr(i);
  return p;
}

bool codeBefore(const std::string& a, const std::string& b) {
  const CodeParts pa = codeParts(a), pb = codeParts(b);
  return std::tie(pa.type_place, pa.type, pa.number, pa.rest) <
         std::tie(pb.type_place, pb.type, pb.number, pb.rest);
}

// The best communities of `samples` by major type, in the order of the
// classification.
std::vector<SpreadGroup> spreadOf(const std::vector<const Sample*>& samples) {
  std::map<std::string, int> counts;
  for (const Sample* s : samples)
    if (!s->ranked.empty()) ++counts[s->ranked.front().code];
  std::vector<std::string> codes;
  for (const auto& [code, count] : counts) codes.push_back(code);
  std::sort(codes.begin(), codes.end(), codeBefore);
  std::vector<SpreadGroup> groups;
  for (const std::string& code : codes) {
    const std::string type = majorType(code);
    if (groups.empty() || groups.back().type != type) groups.push_back({type, {}});
    groups.back().bars.push_back({code, counts[code]});
  }
  return groups;
}

// ---- The parts of the report.

// The values of a sample's name, split at "/".
std::vector<std::string> nameParts(const std::string& name) {
  std::vector<std::string> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = name.find('/', start);
    values.push_back(name.substr(start, slash - start));
    if (slash == std::string::npos) return values;
    start = slash + 1;
  }
}

// A list of at most kListedNotes items, then the count of the rest.
template <class Item, class One>
void listed(HtmlWriter& w, const std::vector<Item>& items, One one) {
  w.open("ul");
  for (std::size_t i = 0; i < items.size() && i < kListedNotes; ++i) {
    w.open("li");
    one(items[i]);
    w.close();
  }
  if (items.size() > kListedNotes)
    w.element("li", "and " + std::to_string(items.size() - kListedNotes) + " more");
  w.close();
}

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

class Report {
 public:
  Report(const json& rows, const json& stands, const ReportInfo& info)
      : info_(info), samples_(report::samplesOf(rows, stands)), w_(out_) {
    several_files_ = std::any_of(samples_.begin(), samples_.end(),
                                 [&](const Sample& s) { return s.file != samples_.front().file; });
  }
  std::string render();

 private:
  void frontPage();
  void notes();
  void overview();
  void siteYearCharts();
  void sampleSection(const Sample& s, std::size_t index);
  void fitsTable(const Sample& s, const std::string& id);
  void indicators(const Sample& s, const std::string& id);
  void speciesTable(const Sample& s);
  void standTable(const json& stand);
  std::string samples(std::size_t count) const {
    return info_.stands ? counted(count, "stand", "stands") : counted(count, "sample", "samples");
  }
  const char* kind() const { return info_.stands ? "stand" : "sample"; }

  const ReportInfo& info_;
  std::vector<Sample> samples_;
  bool several_files_ = false;
  std::string out_;
  HtmlWriter w_;
  ChartDefs defs_;
};

std::string Report::render() {
  out_.reserve(8192 + samples_.size() * 5000);
  w_.raw("<!DOCTYPE html>\n");
  w_.open("html", {{"lang", "en"}}).open("head");
  w_.empty("meta", {{"charset", "utf-8"}});
  w_.empty("meta", {{"name", "viewport"}, {"content", "width=device-width, initial-scale=1"}});
  std::string title = "NVC report";
  if (!info_.files.empty()) title += ": " + info_.files.front();
  if (info_.files.size() > 1)
    title += " and " + counted(info_.files.size() - 1, "more file", "more files");
  w_.element("title", title);
  w_.open("style").raw(kStyle).close();
  w_.close().open("body");
  frontPage();
  overview();
  for (std::size_t i = 0; i < samples_.size(); ++i) sampleSection(samples_[i], i);
  w_.raw(defs_.svg());
  w_.closeTo(0);
  out_ += '\n';
  return std::move(out_);
}

void Report::frontPage() {
  w_.open("header", {{"id", "front"}});
  w_.element("h1", "NVC communities of the " + std::string(kind()) + "s");
  w_.open("dl");
  w_.element("dt", info_.files.size() == 1 ? "Input file" : "Input files");
  for (const std::string& file : info_.files) w_.element("dd", file);
  w_.element("dt", "Reference data");
  w_.element("dd", info_.data_version.empty() ? "version not known" : info_.data_version);
  w_.element("dt", "Date");
  w_.element("dd", info_.date);
  w_.element("dt", info_.stands ? "Stands" : "Samples");
  std::string count = samples(samples_.size());
  if (info_.stands) {
    int quadrats = 0;
    for (const Sample& s : samples_)
      if (s.stand != nullptr) quadrats += whole(*s.stand, "quadrats").value_or(0);
    count += " of " + counted(static_cast<std::size_t>(quadrats), "quadrat", "quadrats");
  }
  const auto without = static_cast<std::size_t>(std::count_if(
      samples_.begin(), samples_.end(), [](const Sample& s) { return s.ranked.empty(); }));
  if (without > 0) count += ", " + std::to_string(without) + " without a result";
  w_.element("dd", count);
  w_.close();
  w_.element("h2", "Options");
  w_.open("table", {{"class", "opt"}}).open("tbody");
  for (const auto& [setting, value] : info_.settings) w_.row().head(setting).cell(value);
  w_.close().close();
  w_.element("h2", "Reading the report");
  w_.element(
      "p",
      "Each " + std::string(kind()) +
          " has a page: the fit of its best communities (whole percents; very good 80 and over, "
          "good 70-79, fair 60-69, poor 50-59, very poor below 50) and the four coefficients "
          "behind it, the composition and cover fit seen from the community (unit) and from the " +
          kind() +
          "; its species against the species per plot of each community's table; its mean "
          "Hill-Ellenberg values (F wetness, L light, N fertility, R reaction, S salt) against "
          "each community's mean \xC2\xB1 standard deviation; and its species in the tables of the "
          "best three, by constancy (I in up to 20 % of the table's plots, V in over 80 %) and "
          "Domin cover range, with the constants (IV and V) it lacks.");
  notes();
  w_.close();
}

void Report::notes() {
  w_.element("h2", "Notes");
  bool any = false;
  std::vector<const Sample*> no_result, scaled;
  for (const Sample& s : samples_) {
    if (s.ranked.empty()) no_result.push_back(&s);
    if (s.status.rfind("ok: ", 0) == 0) scaled.push_back(&s);
  }
  const auto status = [&](const Sample* s) { w_.text(s->name + ": " + s->status); };
  if (!no_result.empty()) {
    any = true;
    w_.element("h3", samples(no_result.size()) + " without a result");
    listed(w_, no_result, status);
  }
  if (!scaled.empty()) {
    any = true;
    w_.element("h3", "Frequencies scaled to 100 in " + counted(scaled.size(), "stand", "stands"));
    listed(w_, scaled, status);
  }
  std::vector<NameNote> unmatched, renamed;
  for (const NameNote& n : info_.names) (n.species.empty() ? unmatched : renamed).push_back(n);
  if (!unmatched.empty()) {
    any = true;
    int lines = 0;
    for (const Sample& s : samples_) lines += s.unmatched;
    w_.element("h3", counted(unmatched.size(), "name", "names") + " that matched no species (" +
                         counted(static_cast<std::size_t>(lines), "time", "times") + " in the " +
                         kind() + "s)");
    listed(w_, unmatched,
           [&](const NameNote& n) { w_.element("i", n.written).text(": " + n.how); });
  }
  if (!renamed.empty()) {
    any = true;
    w_.element("h3", counted(renamed.size(), "name", "names") + " scored as another");
    listed(w_, renamed, [&](const NameNote& n) {
      w_.element("i", n.written).text(" as ").element("i", n.species).text(" (" + n.how + ")");
    });
  }
  if (!info_.messages.empty()) {
    any = true;
    std::string head = "Messages";
    if (info_.warnings > 0)
      head += " (" + counted(static_cast<std::size_t>(info_.warnings), "warning", "warnings") +
              " in all)";
    w_.element("h3", head);
    listed(w_, info_.messages, [&](const ReportMessage& m) {
      w_.text((m.where.empty() ? std::string("vegfit") : m.where) + ": " +
              (m.kind == "warning" ? "warning: " : "") + m.text);
    });
  }
  if (!any)
    w_.element("p", "Nothing to note: every name was matched as written and every " +
                        std::string(kind()) + " has a result.");
}

// Habitat entries joined by "; ", by code where `codes` and they have one.
std::string habitatList(const std::vector<Habitat>& list, bool codes) {
  std::string out;
  for (const Habitat& h : list)
    out += (out.empty() ? "" : "; ") + (codes && !h.code.empty() ? h.code : h.name);
  return out;
}

void Report::overview() {
  w_.open("section", {{"class", "pg"}, {"id", "overview"}});
  w_.element("h2", "Overview");
  w_.open("table", {{"class", "ov"}});
  w_.element("caption", "The best community of every " + std::string(kind()));
  w_.open("thead").row();
  if (several_files_) w_.head("File");
  for (const char* head : {info_.stands ? "Stand" : "Sample", "NVC", "Community", "Fit", "Grade",
                           "Annex I", "Priority Habitat"})
    w_.head(head);
  w_.close().open("tbody");
  std::map<std::string, std::string> annex_names;
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    const Sample& s = samples_[i];
    w_.row();
    if (several_files_) w_.cell(s.file);
    w_.cell({}).element("a", s.name, {{"href", "#s" + figure(static_cast<int>(i + 1))}});
    if (s.ranked.empty()) {
      w_.cell({}).cell("no result: " + s.status, {{"colspan", "5"}});
      continue;
    }
    const Ranked& best = s.ranked.front();
    w_.cell(best.code).cell(best.name).cell(figure(best.fit)).cell(best.grade);
    w_.cell(habitatList(best.annex_i, true)).cell(habitatList(best.priority, false));
    for (const Habitat& h : best.annex_i)
      if (!h.code.empty()) annex_names[h.code] = h.name;
  }
  w_.close().close();
  if (!annex_names.empty()) {
    std::string key = "Annex I: ";
    bool first = true;
    for (const auto& [code, name] : annex_names) {
      key += (first ? "" : "; ") + code + " " + name;
      first = false;
    }
    w_.element("p", key + ".", {{"class", "key"}});
  }

  std::vector<const Sample*> all;
  for (const Sample& s : samples_) all.push_back(&s);
  w_.element("h3", "Best communities by major type");
  spreadChart(w_, spreadOf(all),
              "Number of " + std::string(kind()) + "s by best community, grouped by major type");
  const std::size_t without = static_cast<std::size_t>(
      std::count_if(all.begin(), all.end(), [](const Sample* s) { return s->ranked.empty(); }));
  if (without > 0)
    w_.element("p", samples(without) + " without a result " + (without == 1 ? "is" : "are") +
                        " not counted.");
  siteYearCharts();
  w_.close();
}

void Report::siteYearCharts() {
  std::vector<std::string> names;
  for (const Sample& s : samples_) names.push_back(s.name);
  const std::vector<std::size_t> parts = siteYearParts(info_.name_columns, names);
  if (parts.empty()) return;
  // The samples of each site and year, in order of first appearance.
  std::vector<std::pair<std::string, std::vector<const Sample*>>> by_key;
  for (const Sample& s : samples_) {
    const std::vector<std::string> values = nameParts(s.name);
    std::string key;
    if (values.size() == info_.name_columns.size()) {
      for (std::size_t p : parts) key += (key.empty() ? "" : "/") + values[p];
    } else {
      key = "other names";
    }
    auto it =
        std::find_if(by_key.begin(), by_key.end(), [&](const auto& k) { return k.first == key; });
    if (it == by_key.end()) it = by_key.insert(by_key.end(), {key, {}});
    it->second.push_back(&s);
  }
  if (by_key.size() < 2 || by_key.size() >= samples_.size()) return;
  std::string what;
  for (std::size_t p : parts) what += (what.empty() ? "" : " and ") + info_.name_columns[p];
  w_.element("h3", "Best communities by " + what);
  int largest = 0;
  std::vector<std::vector<SpreadGroup>> spreads;
  for (const auto& [key, list] : by_key) {
    spreads.push_back(spreadOf(list));
    for (const SpreadGroup& group : spreads.back())
      for (const SpreadBar& bar : group.bars) largest = std::max(largest, bar.count);
  }
  w_.open("div", {{"class", "row"}});
  for (std::size_t k = 0; k < by_key.size(); ++k) {
    const auto& [key, list] = by_key[k];
    w_.open("div");
    w_.element("h3", key + " (" + samples(list.size()) + ")");
    spreadChart(w_, spreads[k],
                "Number of " + std::string(kind()) + "s of " + key + " by best community", largest);
    w_.close();
  }
  w_.close();
}

void Report::sampleSection(const Sample& s, std::size_t index) {
  const std::string id = figure(static_cast<int>(index + 1));
  w_.open("section", {{"class", "pg"}, {"id", "s" + id}});
  w_.element("h2", std::string(info_.stands ? "Stand " : "Sample ") + s.name);
  std::string counts =
      counted(static_cast<std::size_t>(s.species), "species", "species") + " scored";
  if (s.unmatched > 0)
    counts += ", " + counted(static_cast<std::size_t>(s.unmatched), "name", "names") +
              " matching no species";
  if (s.stand != nullptr)
    counts += ", " + counted(static_cast<std::size_t>(whole(*s.stand, "quadrats").value_or(0)),
                             "quadrat", "quadrats");
  if (several_files_) counts += ", from " + s.file;
  if (s.ranked.empty()) {
    w_.element("p", counts + ". No result: " + s.status + ".");
  } else {
    const Ranked& best = s.ranked.front();
    w_.open("p").text("Best fit ").element("b", best.code);
    w_.text(": " + figure(best.fit) + ", " + best.grade + ". " + counts + ".");
    if (s.status != "ok") w_.text(" " + s.status + ".");
    w_.close();
    std::vector<FitRow> rows;
    for (const Ranked& r : s.ranked)
      rows.push_back({r.code, r.fit, r.coefficients, r.min_species, r.mean_species, r.max_species});
    fitChart(w_, defs_, rows, s.species, "f" + id);
    fitsTable(s, "f" + id);
    // Beside each other on a wide screen; on paper the species table runs in
    // two columns with the indicators below it, so that a sample of fifty
    // species still takes one A4 page (the print style).
    w_.open("div", {{"class", "row"}}).open("div", {{"class", "spw"}});
    speciesTable(s);
    w_.close().open("div", {{"class", "iw"}});
    indicators(s, "i" + id);
    w_.close().close();
  }
  if (s.stand != nullptr) standTable(*s.stand);
  w_.close();
}

void Report::fitsTable(const Sample& s, const std::string& id) {
  w_.open("table", {{"id", id}, {"class", "fits"}});
  w_.element("caption", "Fits, best first");
  w_.row();
  for (const char* head : {"NVC", "Community", "Fit", "Grade", "Comp. unit", "Comp. sample",
                           "Cover unit", "Cover sample", "Species per plot, range (mean)"})
    w_.head(head);
  for (const Ranked& r : s.ranked) {
    w_.row().cell(r.code).cell(r.name).cell(figure(r.fit)).cell(r.grade);
    for (int c : r.coefficients) w_.cell(figure(c));
    w_.cell(r.min_species && r.mean_species && r.max_species
                ? figure(*r.min_species) + "-" + figure(*r.max_species) + " (" +
                      figure(*r.mean_species) + ")"
                : std::string());
  }
  w_.close();
}

void Report::indicators(const Sample& s, const std::string& id) {
  const std::size_t detail = std::min(kDetailUnits, s.ranked.size());
  if (s.indicator_species == 0) {
    w_.element("p", "No species of the " + std::string(kind()) + " has indicator values.");
    return;
  }
  std::vector<IndicatorRow> rows;
  for (std::size_t v = 0; v < kLetters.size(); ++v) {
    IndicatorRow row{kLetters[v], s.mean[v], {}};
    for (std::size_t r = 0; r < detail; ++r) row.units.push_back(s.ranked[r].indicators[v]);
    rows.push_back(std::move(row));
  }
  indicatorChart(w_, defs_, rows, id);
  w_.open("table", {{"id", id}, {"class", "ind"}});
  w_.element("caption",
             "Indicator values: mean of " +
                 counted(static_cast<std::size_t>(s.indicator_species), "species", "species") +
                 "; mean \xC2\xB1 sd");
  w_.row().head("");
  for (char letter : kLetters) w_.head(std::string(1, letter));
  w_.row().head(kind());
  for (const std::optional<double>& mean : s.mean) w_.cell(mean ? twoDecimals(*mean) : "");
  for (std::size_t r = 0; r < detail; ++r) {
    const Ranked& u = s.ranked[r];
    w_.row().head(u.code, {{"class", "u" + figure(static_cast<int>(r + 1))}});
    for (const std::optional<IndicatorRange>& range : u.indicators)
      w_.cell(range ? twoDecimals(range->mean) + " \xC2\xB1 " + twoDecimals(range->sd) : "");
  }
  w_.close();
}

void Report::speciesTable(const Sample& s) {
  const std::size_t detail = std::min(kDetailUnits, s.ranked.size());
  w_.open("table", {{"class", "sp"}});
  w_.element("caption", "Species in the tables: constancy, Domin range");
  w_.open("thead").row().head("Species").head("Cover %");
  for (std::size_t r = 0; r < detail; ++r) w_.head(s.ranked[r].code);
  w_.close().open("tbody");
  for (std::size_t i = 0; i < s.covers.size(); ++i) {
    w_.row().cell(s.covers[i].first).cell(figure(s.covers[i].second));
    for (std::size_t r = 0; r < detail; ++r) {
      const std::vector<std::string>& places = s.ranked[r].places;
      w_.cell(i < places.size() ? places[i] : std::string());
    }
  }
  w_.close();
  // The constants (IV and V) of each community that the sample lacks, in
  // the order the communities list them.
  std::vector<std::string> missing;
  for (std::size_t r = 0; r < detail; ++r)
    for (const auto& [species, where] : s.ranked[r].missing)
      if (std::find(missing.begin(), missing.end(), species) == missing.end())
        missing.push_back(species);
  if (!missing.empty()) {
    w_.open("tbody", {{"class", "mc"}});
    w_.row().head("Constants missing from the " + std::string(kind()),
                  {{"colspan", figure(static_cast<int>(detail + 2))}, {"scope", "rowgroup"}});
    for (const std::string& species : missing) {
      w_.row().cell(species).cell("\xE2\x80\x93");
      for (std::size_t r = 0; r < detail; ++r) {
        std::string cell;
        for (const auto& [name, where] : s.ranked[r].missing)
          if (name == species) cell = where;
        w_.cell(cell);
      }
    }
    w_.close();
  }
  w_.close();
}

void Report::standTable(const json& stand) {
  const std::string code = text(stand, "nvc_code");
  w_.open("table", {{"class", "st"}});
  w_.element("caption", code.empty() ? std::string("The stand's constancy table")
                                     : "The stand's constancy table beside the table of " + code);
  w_.open("thead").row().head("");
  w_.head("Stand, " + counted(static_cast<std::size_t>(whole(stand, "quadrats").value_or(0)),
                              "quadrat", "quadrats"),
          {{"colspan", "4"}, {"scope", "colgroup"}});
  w_.head(code.empty() ? std::string("No community") : code,
          {{"colspan", "2"}, {"scope", "colgroup"}});
  w_.row();
  for (const char* head :
       {"Species", "Quadrats", "Class", "Cover % min-mean-max", "Domin", "Class", "Domin"})
    w_.head(head);
  w_.close().open("tbody");
  const json& species = member(stand, "species");
  if (species.is_array()) {
    for (const json& line : species) {
      w_.row().cell(text(line, "species"));
      const json& in_stand = member(line, "stand");
      if (in_stand.is_object()) {
        const std::optional<double> mean = number(in_stand, "mean_cover");
        w_.cell(figure(whole(in_stand, "quadrats").value_or(0))).cell(text(in_stand, "constancy"));
        w_.cell(figure(whole(in_stand, "min_cover").value_or(0)) + "-" +
                (mean ? twoDecimals(*mean) : std::string()) + "-" +
                figure(whole(in_stand, "max_cover").value_or(0)));
        w_.cell(report::dominRange(in_stand));
      } else {
        w_.cell("not in the stand", {{"colspan", "4"}, {"class", "ms"}});
      }
      const json& unit = member(line, "unit");
      if (unit.is_object()) {
        w_.cell(text(unit, "constancy")).cell(report::dominRange(unit));
      } else {
        w_.cell("", {{"colspan", "2"}});
      }
    }
  }
  w_.close().close();
}

bool isYear(const std::string& value) {
  if (value.size() != 4 ||
      !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const int year = std::stoi(value);
  return year >= 1800 && year <= 2199;
}

}  // namespace

std::string majorType(const std::string& code) {
  std::size_t i = 0;
  while (i < code.size() && code[i] >= 'A' && code[i] <= 'Z') ++i;
  return code.substr(0, i);
}

std::vector<std::size_t> siteYearParts(const std::vector<std::string>& columns,
                                       const std::vector<std::string>& sample_names) {
  std::vector<std::size_t> parts;
  if (columns.size() < 2) return parts;
  static const std::set<std::string> kSite = {"site",     "sitename", "location",
                                              "locality", "area",     "reserve"};
  static const std::set<std::string> kYear = {"year", "surveyyear", "date"};
  // The values of each column, from the names with a value of every column.
  std::vector<bool> all_years(columns.size(), true);
  bool any = false;
  for (const std::string& name : sample_names) {
    const std::vector<std::string> values = nameParts(name);
    if (values.size() != columns.size()) continue;
    any = true;
    for (std::size_t c = 0; c < columns.size(); ++c)
      if (!isYear(values[c])) all_years[c] = false;
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const std::string folded = foldedColumnName(columns[c]);
    if (kSite.count(folded) > 0 || kYear.count(folded) > 0 || (any && all_years[c]))
      parts.push_back(c);
  }
  return parts;
}

std::string renderReport(const json& rows, const json& stands, const ReportInfo& info) {
  Report report(rows, stands, info);
  return report.render();
}

}  // namespace vegfit
