#include "vegfit/report_run.h"

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <string_view>
#include <thread>

#include "vegfit/scoring.h"
#include "vegfit/text.h"

namespace vegfit {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* between) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : between) + part;
  return out;
}

// What the report does not show of a row (texts the full names stand for,
// the habitats beside Annex I and the Priority Habitats, the sample's
// species and covers again below rank 1): left out while parsing, so that
// the rows of a large run cost less to hold.
class ShownInReport {
 public:
  bool operator()(int depth, nlohmann::json::parse_event_t event, const nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if (event == Event::value && depth == 1 && member_ == "rank")
      below_first_ = parsed.is_number() && parsed.get<int>() > 1;
    if (event != Event::key) return true;
    const std::string& key = parsed.get_ref<const std::string&>();
    switch (depth) {
      case 1:
        member_ = key;
        return key != "subcommunity" && key != "eunis_code" && key != "eunis_name" &&
               key != "community_name" && key != "subcommunity_name" && key != "eunis_full_name" &&
               key != "eunis_relationship" && key != "not_in_table";
      case 2:
        return key != "broad_habitat" && key != "phase_1" && key != "eunis_habitats" &&
               key != "npms_broad" && key != "npms_fine";
      case 3:
        return !(below_first_ && member_ == "species_account" &&
                 (key == "species" || key == "cover"));
      case 4: return key != "relationship";
      default: return true;
    }
  }

 private:
  std::string member_;  // the row's member being parsed
  bool below_first_ = false;
};

// The rows of the scoring's JSON array, one object on each line, parsed on
// two threads.
nlohmann::json parseRows(const std::string& text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    const std::size_t open = line.find('{'), close = line.rfind('}');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close)
      lines.push_back(line.substr(open, close - open + 1));
  }
  std::vector<nlohmann::json> parsed(lines.size());
  const auto parse = [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i)
      parsed[i] = nlohmann::json::parse(lines[i].begin(), lines[i].end(), ShownInReport());
  };
  const std::size_t half = lines.size() / 2;
  std::thread other(parse, half, lines.size());
  parse(0, half);
  other.join();
  nlohmann::json rows = nlohmann::json::array();
  for (nlohmann::json& row : parsed) rows.push_back(std::move(row));
  return rows;
}

}  // namespace

Options scoringOptions(const Options& given) {
  Options options = given;
  if (given.format != Format::kHtml) return options;
  options.format = Format::kJson;
  options.explain = true;
  options.explain_all = true;
  options.table = false;
  return options;
}

std::vector<std::pair<std::string, std::string>> settingsOf(const Options& options) {
  std::vector<std::pair<std::string, std::string>> out;
  static const char* const kScales[] = {"percent cover", "Braun-Blanquet", "Domin"};
  const int scale = options.cover_scale >= 1 && options.cover_scale <= 3 ? options.cover_scale : 1;
  out.emplace_back(
      "Cover scale",
      std::string(kScales[scale - 1]) +
          (options.scale_given ? "" : " (the default; a sample file's label sets its sample's)"));
  static const char* const kTypes[] = {"mixed composition and cover", "species composition only",
                                       "species cover only", "incomplete species list only",
                                       "top few species in descending abundance"};
  const int type =
      options.analysis_type >= 1 && options.analysis_type <= 5 ? options.analysis_type : 1;
  out.emplace_back("Analysis type", std::to_string(type) + ", " + kTypes[type - 1]);
  out.emplace_back("Communities per sample", std::to_string(options.top));
  out.emplace_back("Species groups", options.species_limit == 4000   ? "all but lichens"
                                     : options.species_limit == 3000 ? "vascular plants only"
                                                                     : "all");
  out.emplace_back("Samples named by", options.sample_columns.empty()
                                           ? std::string("the sample column, or the sample file")
                                           : "the columns " + joined(options.sample_columns, ", "));
  if (!options.group_by.empty())
    out.emplace_back("Stands composed by", "the columns " + joined(options.group_by, ", "));
  if (!options.species_column.empty()) out.emplace_back("Species column", options.species_column);
  if (!options.cover_column.empty()) out.emplace_back("Cover column", options.cover_column);
  if (options.separator != 0)
    out.emplace_back("Separator", options.separator == '\t'  ? "tab"
                                  : options.separator == ';' ? "semicolon"
                                                             : "comma");
  out.emplace_back("Names matching no species", options.drop_unmatched
                                                    ? "left out of their samples"
                                                    : "counted as species of no community");
  out.emplace_back("Reference data",
                   options.data_dir.empty() ? std::string("the shipped data") : options.data_dir);
  return out;
}

std::vector<NameNote> nameNotes(const NameMatcher& names, bool drop_unmatched) {
  std::vector<NameNote> unmatched, renamed;
  for (int s = 0; s < names.spellings(); ++s) {
    const Match& match = names.match(s);
    const std::string& written = names.text(s);
    if (match.ambiguous) {
      unmatched.push_back({written, {}, "two or more species: left out"});
      continue;
    }
    if (match.species_number == 0) {
      // Spellings of one key count as one name of no species; each is listed.
      unmatched.push_back(
          {written, {}, drop_unmatched ? "left out" : "counted as a species of no community"});
      continue;
    }
    const std::string shown = names.shownName(match.species_number, {});
    if (shown.empty()) continue;
    const std::string as_written = normalName(withoutAuthority(withoutAccents(written)));
    if (as_written == normalName(withoutAccents(shown)) && !match.as_species) continue;
    renamed.push_back({written, shown,
                       match.as_species ? "an infraspecific name, scored as its species"
                       : match.by_key   ? "by its name key"
                                        : "a synonym"});
  }
  unmatched.insert(unmatched.end(), renamed.begin(), renamed.end());
  return unmatched;
}

// The calendar date of `when`, in UTC or in local time, on every system.
std::tm calendarDate(std::time_t when, bool utc) {
  std::tm parts{};
#ifdef _WIN32
  if (utc) {
    gmtime_s(&parts, &when);
  } else {
    localtime_s(&parts, &when);
  }
#else
  if (utc) {
    gmtime_r(&when, &parts);
  } else {
    localtime_r(&when, &parts);
  }
#endif
  return parts;
}

std::string reportDate() {
  std::tm parts = calendarDate(std::time(nullptr), false);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    long long seconds = 0;
    const std::string_view text(epoch);
    auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (fault == std::errc() && end == text.data() + text.size()) {
      parts = calendarDate(static_cast<std::time_t>(seconds), true);
    }
  }
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &parts);
  return date;
}

std::string runReport(const std::string& rows, const Options& given, const ReportSources& sources) {
  nlohmann::json stands = nlohmann::json::array();
  if (!given.group_by.empty()) {
    // The stands' tables, as --table gives them: few, on this thread.
    Options tables = scoringOptions(given);
    tables.table = true;
    ScoringPool pool(sources.reference, tables, 1);
    pool.add(sources.set, 0, sources.set->samples.size());
    TextBuffer out;
    out.writeText("[");
    pool.finish(out);
    out.writeText("]");
    stands = nlohmann::json::parse(out.text);
  }
  ReportInfo info;
  for (const std::string& file : given.files)
    info.files.push_back(file == "-" ? "standard input" : file);
  info.settings = settingsOf(given);
  info.data_version = sources.reference.attributes().version();
  info.date = reportDate();
  info.name_columns = !given.group_by.empty() ? given.group_by : given.sample_columns;
  info.stands = !given.group_by.empty();
  for (const Diagnostics::Shown& shown : sources.messages.kept())
    info.messages.push_back({shown.where, shown.kind, shown.text});
  info.warnings = sources.messages.warnings();
  info.names = nameNotes(sources.names, given.drop_unmatched);
  return renderReport(parseRows(rows), stands, info);
}

}  // namespace vegfit
