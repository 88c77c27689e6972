#include "vegfit/results.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

#include "common/csv.h"
#include "engine/entries.h"
#include "engine/grading.h"
#include "engine/ranking.h"
#include "engine/scoring.h"
#include "engine/species_index.h"

namespace vegfit {

namespace {

constexpr float kShownFit = 0.0001f;  // a community scoring less is shown without texts

std::string withoutTrailingBlanks(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string withoutBlanks(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

const char* constancyNumeral(int constancy) { return constancy == 5 ? "V" : "IV"; }

void appendInt(std::string& out, int value) {
  char digits[16];
  auto [end, fault] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

// The dictionary entry of a species number through the sorted species
// index, 0 when it has none.
int entryOf(const engine::Tables& tables, int species_number) {
  const int q = engine::findFirstSorted(tables.dictionary.sorted_species_number.data(),
                                        tables.dict_size, species_number);
  return q == 0 ? 0 : tables.dictionary.sorted_entry[static_cast<std::size_t>(q)];
}

}  // namespace

Reference::Reference(const engine::Tables& tables, const NameMatcher& names)
    : tables_(tables), names_(names) {
  const int n = tables.n_communities;
  texts_.resize(static_cast<std::size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) {
    CommunityText& t = texts_[static_cast<std::size_t>(k)];
    t.nvc_code = withoutBlanks(tables.cross_reference.nvc_code[static_cast<std::size_t>(k)]);
    t.community =
        withoutTrailingBlanks(tables.cross_reference.community_name[static_cast<std::size_t>(k)]);
    t.subcommunity = withoutTrailingBlanks(
        tables.cross_reference.subcommunity_name[static_cast<std::size_t>(k)]);
    t.eunis_code =
        withoutTrailingBlanks(tables.cross_reference.eunis_code[static_cast<std::size_t>(k)]);
    t.eunis_name =
        withoutTrailingBlanks(tables.cross_reference.eunis_name[static_cast<std::size_t>(k)]);
    for (const std::string* text :
         {&t.nvc_code, &t.community, &t.subcommunity, &t.eunis_code, &t.eunis_name}) {
      t.csv += ',';
      veg::appendCsvField(t.csv, *text);
    }
  }

  // The constant species of every community, through each species number's
  // entries once (however many names it has), as the start-up totals do.
  std::vector<std::vector<Constant>> by_community(static_cast<std::size_t>(n) + 1);
  const engine::Dictionary& dict = tables.dictionary;
  int previous = 0;
  for (int position = 1; position <= tables.dict_size; ++position) {
    const int p = dict.sorted_species_number[static_cast<std::size_t>(position)];
    if (p == previous) continue;
    previous = p;
    const int j = dict.sorted_entry[static_cast<std::size_t>(position)];
    const int last = tables.entry_ranges.last_entry[static_cast<std::size_t>(j)];
    if (last == 0) continue;
    for (int e = tables.entry_ranges.first_entry[static_cast<std::size_t>(j)]; e <= last; ++e) {
      const int k = tables.entries.entry_community[static_cast<std::size_t>(e)];
      const int g = tables.conversion.class_constancy[static_cast<std::size_t>(
          tables.entries.entry_class[static_cast<std::size_t>(e)])];
      if (g >= 4)
        by_community[static_cast<std::size_t>(k)].push_back(
            {static_cast<short>(p), static_cast<short>(g)});
    }
  }
  constant_first_.assign(static_cast<std::size_t>(n) + 2, 0);
  for (int k = 1; k <= n; ++k) {
    std::vector<Constant>& list = by_community[static_cast<std::size_t>(k)];
    std::vector<std::pair<std::string, Constant>> named;
    for (const Constant& c : list) named.emplace_back(speciesName(c.species_number), c);
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
      if (a.second.constancy != b.second.constancy) return a.second.constancy > b.second.constancy;
      return a.first < b.first;
    });
    constant_first_[static_cast<std::size_t>(k)] = constants_.size();
    for (const auto& [name, c] : named) constants_.push_back(c);
  }
  constant_first_[static_cast<std::size_t>(n) + 1] = constants_.size();
}

std::pair<const Constant*, const Constant*> Reference::constants(int k) const {
  const Constant* base = constants_.data();
  return {base + constant_first_[static_cast<std::size_t>(k)],
          base + constant_first_[static_cast<std::size_t>(k) + 1]};
}

bool Reference::holds(int k, int species_number) const {
  const int j = entryOf(tables_, species_number);
  if (j == 0) return false;
  const int last = tables_.entry_ranges.last_entry[static_cast<std::size_t>(j)];
  if (last == 0) return false;
  for (int e = tables_.entry_ranges.first_entry[static_cast<std::size_t>(j)]; e <= last; ++e)
    if (tables_.entries.entry_community[static_cast<std::size_t>(e)] == k) return true;
  return false;
}

std::string Reference::speciesName(int species_number, std::string_view fallback) const {
  std::string shown = names_.shownName(species_number, fallback);
  if (!shown.empty()) return shown;
  // Reference data without a names table: the dictionary key is all there is.
  const int j = entryOf(tables_, species_number);
  return j == 0
             ? std::to_string(species_number)
             : withoutTrailingBlanks(tables_.dictionary.species_name[static_cast<std::size_t>(j)]);
}

std::string csvHeader(const OutputColumns& columns) {
  std::string header = columns.file ? "file," : "";
  header +=
      "sample,rank,nvc_code,community,subcommunity,eunis_code,eunis_name,fit,grade,"
      "community_composition_fit,sample_composition_fit,community_cover_fit,sample_cover_fit,"
      "species,unmatched,status";
  if (columns.explain) header += ",missing_constants,not_in_table";
  return header;
}

void appendCsvRow(std::string& out, const Row& row, const OutputColumns& columns) {
  if (columns.file) {
    veg::appendCsvField(out, row.file);
    out += ',';
  }
  veg::appendCsvField(out, row.sample);
  out += ',';
  if (row.result) {
    appendInt(out, row.rank);
    out += row.community != nullptr ? std::string_view(row.community->csv) : ",,,,,";
    out += ',';
    appendInt(out, row.fit);
    out += ',';
    out += row.grade;
    for (int figure : {row.community_composition_fit, row.sample_composition_fit,
                       row.community_cover_fit, row.sample_cover_fit}) {
      out += ',';
      appendInt(out, figure);
    }
  } else {
    out += ",,,,,,,,,,,";
  }
  for (int figure : {row.species, row.unmatched}) {
    out += ',';
    appendInt(out, figure);
  }
  out += ',';
  veg::appendCsvField(out, row.status);
  if (!columns.explain) return;
  std::string list;
  if (row.explained) {
    for (const auto& [name, constancy] : row.missing) {
      if (!list.empty()) list += "; ";
      list += name + " (" + constancyNumeral(constancy) + ")";
    }
  }
  out += ',';
  veg::appendCsvField(out, list);
  list.clear();
  if (row.explained) {
    for (const std::string& name : row.not_in_table) {
      if (!list.empty()) list += "; ";
      list += name;
    }
  }
  out += ',';
  veg::appendCsvField(out, list);
}

void appendJsonRow(std::string& out, const Row& row, const OutputColumns& columns) {
  nlohmann::ordered_json j;
  if (columns.file) j["file"] = row.file;
  j["sample"] = row.sample;
  if (row.result) {
    j["rank"] = row.rank;
  } else {
    j["rank"] = nullptr;
  }
  auto text = [&](const char* key, const std::string CommunityText::*field) {
    if (row.result && row.community != nullptr) {
      j[key] = (*row.community).*field;
    } else {
      j[key] = nullptr;
    }
  };
  text("nvc_code", &CommunityText::nvc_code);
  text("community", &CommunityText::community);
  text("subcommunity", &CommunityText::subcommunity);
  text("eunis_code", &CommunityText::eunis_code);
  text("eunis_name", &CommunityText::eunis_name);
  auto figure = [&](const char* key, int value) {
    if (row.result) {
      j[key] = value;
    } else {
      j[key] = nullptr;
    }
  };
  figure("fit", row.fit);
  if (row.result) {
    j["grade"] = row.grade;
  } else {
    j["grade"] = nullptr;
  }
  figure("community_composition_fit", row.community_composition_fit);
  figure("sample_composition_fit", row.sample_composition_fit);
  figure("community_cover_fit", row.community_cover_fit);
  figure("sample_cover_fit", row.sample_cover_fit);
  j["species"] = row.species;
  j["unmatched"] = row.unmatched;
  j["status"] = row.status;
  if (columns.explain && row.explained) {
    nlohmann::ordered_json missing = nlohmann::ordered_json::array();
    for (const auto& [name, constancy] : row.missing)
      missing.push_back({{"species", name}, {"constancy", constancyNumeral(constancy)}});
    j["missing_constants"] = std::move(missing);
    j["not_in_table"] = row.not_in_table;
  }
  // Names may hold any bytes: those that are not UTF-8 are replaced, not
  // refused half way through the output.
  out += j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

Scorer::Scorer(const Reference& reference, const Options& options)
    : reference_(reference),
      options_(options),
      tables_(std::make_unique<engine::Tables>(reference.tables())),
      sample_(std::make_unique<engine::Sample>()) {
  columns_.file = options.files.size() > 1;
  columns_.explain = options.explain;
}

Scorer::~Scorer() = default;

int Scorer::rowsPerSample() const { return std::min(options_.top, tables_->n_communities); }

void Scorer::explain(const SampleSet& set, const SampleInfo& info, int k, Row& row) const {
  const engine::Sample& s = *sample_;
  auto has = [&](int number) {
    for (int i = 1; i <= s.sample_size; ++i)
      if (s.sample_species[static_cast<std::size_t>(i)] == number) return true;
    return false;
  };
  auto [begin, end] = reference_.constants(k);
  for (const Constant* c = begin; c != end; ++c) {
    if (!has(c->species_number))
      row.missing.emplace_back(reference_.speciesName(c->species_number), c->constancy);
  }
  const EntryLine* lines = set.lines.data() + info.first;
  for (int i = 1; i <= s.sample_size; ++i) {
    const int number = s.sample_species[static_cast<std::size_t>(i)];
    if (number > engine::kNewNumberBase) {
      // A name of no species, as written.
      const std::size_t n = static_cast<std::size_t>(number - engine::kNewNumberBase - 1);
      if (n < new_names_.size()) row.not_in_table.push_back(reference_.names().text(new_names_[n]));
      continue;
    }
    if (reference_.holds(k, number)) continue;
    std::string_view written;
    for (std::size_t l = 0; l < info.count; ++l) {
      if (lines[l].code % engine::kMarkStep == number) {
        written = reference_.names().text(lines[l].spelling);
        break;
      }
    }
    row.not_in_table.push_back(reference_.speciesName(number, written));
  }
}

void Scorer::append(std::string& out) const {
  if (options_.format == Format::kCsv) {
    appendCsvRow(out, row_, columns_);
  } else {
    out += "  ";
    appendJsonRow(out, row_, columns_);
    out += ',';
  }
  out += '\n';
}

void Scorer::score(const SampleSet& set, std::size_t i, std::string& out) {
  const SampleInfo& info = set.samples[i];
  engine::Tables& tables = *tables_;
  // The readers have refused samples that do not fit the entry table.
  buildSample(info, set.lines.data() + info.first, options_.analysis_type, options_.species_limit,
              *sample_, &new_names_);
  engine::scoreCommunities(*sample_, options_.analysis_type, tables);
  const int rows = rowsPerSample();
  engine::rankBest(tables.scores.fit_score, tables.n_communities, top_community_, top_score_, rows);

  Row& row = row_;
  row.file = info.file >= 0 && static_cast<std::size_t>(info.file) < set.files.size()
                 ? std::string_view(set.files[static_cast<std::size_t>(info.file)])
                 : std::string_view();
  row.sample = info.name;
  row.species = sample_->sample_size;
  row.unmatched = info.unmatched;
  row.result = true;
  row.status = kStatusOk;
  if (info.scaled_from > 0)
    row.status +=
        ": frequencies scaled to 100 from " + std::to_string(info.scaled_from) + " quadrats";
  int shown = 0;
  for (int r = 1; r <= rows; ++r)
    if (top_score_[static_cast<std::size_t>(r)] >= kShownFit) shown = r;
  if (shown == 0) {
    int known = 0;
    for (int s = 1; s <= sample_->sample_size; ++s)
      if (sample_->sample_species[static_cast<std::size_t>(s)] <= engine::kNewNumberBase) ++known;
    row.result = false;
    row.status = known == 0 ? kStatusNoSpecies : kStatusNoFit;
    row.explained = false;
    append(out);
    return;
  }
  for (int r = 1; r <= shown; ++r) {
    const int k = top_community_[static_cast<std::size_t>(r)];
    const std::size_t kk = static_cast<std::size_t>(k);
    row.rank = r;
    row.community = &reference_.text(k);
    row.fit = engine::printedPercent(tables.scores.fit_score[kk]);
    row.community_composition_fit =
        engine::printedPercent(tables.scores.community_composition_fit[kk]);
    row.sample_composition_fit = engine::printedPercent(tables.scores.sample_composition_fit[kk]);
    row.community_cover_fit = engine::printedPercent(tables.scores.community_cover_fit[kk]);
    row.sample_cover_fit = engine::printedPercent(tables.scores.sample_cover_fit[kk]);
    engine::zeroUnusedColumns(options_.analysis_type, row.community_composition_fit,
                              row.community_cover_fit, row.sample_cover_fit);
    std::string_view grade = engine::grade(row.fit);
    row.grade = grade.substr(0, grade.find_last_not_of(' ') + 1);
    row.explained = options_.explain && r == 1;
    row.missing.clear();
    row.not_in_table.clear();
    if (row.explained) explain(set, info, k, row);
    append(out);
  }
}

}  // namespace vegfit
