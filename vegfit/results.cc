#include "vegfit/results.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <type_traits>

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

// The text of a table place: "V, 5-8", "V" when the cover range is not
// known.
void appendPlace(std::string& out, const TablePlace& place) {
  out += constancyNumeral(place.constancy);
  if (place.max_domin <= 0) return;
  out += place.min_domin > 0 ? " " : " up to ";
  if (place.min_domin > 0) {
    out += std::to_string(place.min_domin);
    out += '-';
  }
  out += std::to_string(place.max_domin);
}

// `value` with two decimals, rounded as rounded2 rounds: whole cents,
// written digit by digit (no floating-point formatting, which would cost
// more than all else of a row).
void appendFixed2(std::string& out, double value) {
  const long long c = cents(value);
  unsigned long long u = c < 0 ? 0ULL - static_cast<unsigned long long>(c)
                               : static_cast<unsigned long long>(c);
  char digits[32];
  char* const end = digits + sizeof digits;
  char* p = end;
  *--p = static_cast<char>('0' + u % 10);
  *--p = static_cast<char>('0' + u / 10 % 10);
  *--p = '.';
  u /= 100;
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (c < 0) *--p = '-';
  out.append(p, end);
}

void appendShortest(std::string& out, double value) {
  char digits[32];
  auto [end, fault] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

template <typename T>
void appendCsvNumber(std::string& out, const std::optional<T>& value) {
  out += ',';
  if (!value) return;
  if constexpr (std::is_integral_v<T>) {
    out += std::to_string(*value);
  } else {
    appendShortest(out, *value);
  }
}

// JSON members: a number or null.
template <typename T>
void appendJsonNumber(std::string& out, std::string_view key, const std::optional<T>& value,
                      bool first = false) {
  if (!first) out += ',';
  out += '"';
  out += key;
  out += "\":";
  if (!value) {
    out += "null";
  } else if constexpr (std::is_integral_v<T>) {
    out += std::to_string(*value);
  } else {
    appendShortest(out, *value);
  }
}

nlohmann::ordered_json textOrNull(const std::string& text) {
  return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

std::string dumped(const nlohmann::ordered_json& j) {
  return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// The texts of a community's attributes; `unit` null: all empty.
UnitText makeUnitText(const UnitInfo* unit) {
  UnitText t;
  t.info = unit;
  std::string& csv = t.csv_names;
  auto field = [&](std::string_view text) {
    csv += ',';
    veg::appendCsvField(csv, text);
  };
  static const UnitInfo kNone;
  const UnitInfo& u = unit != nullptr ? *unit : kNone;
  // The full name is the two names joined by a comma: JSON only.
  for (const std::string* text :
       {&u.community_name, &u.subcommunity_name, &u.eunis_name, &u.eunis_relationship})
    field(*text);
  for (int c = 0; c < kClassifications; ++c) {
    std::string list;
    for (const Habitat& h : u.habitats) {
      if (static_cast<int>(h.classification) != c) continue;
      if (!list.empty()) list += ';';
      list += h.code.empty() ? h.name : h.code;
    }
    field(list);
  }
  field(u.habitats_of);
  for (const std::optional<int>* figure : {&u.plots, &u.min_species, &u.mean_species, &u.max_species})
    appendCsvNumber(csv, *figure);
  // Two decimals, as the sample's means (JSON gives them as published).
  for (const std::optional<UnitIndicator>& v : u.indicators) {
    for (double figure : {v ? v->mean : 0.0, v ? v->sd : 0.0}) {
      t.csv_indicators += ',';
      if (v) appendFixed2(t.csv_indicators, figure);
    }
  }

  nlohmann::ordered_json j;
  j["community_name"] = textOrNull(u.community_name);
  j["subcommunity_name"] = textOrNull(u.subcommunity_name);
  j["full_name"] = textOrNull(u.full_name);
  j["eunis_full_name"] = textOrNull(u.eunis_name);
  j["eunis_relationship"] = textOrNull(u.eunis_relationship);
  if (unit == nullptr) {
    j["habitats"] = nullptr;
  } else {
    nlohmann::ordered_json& h = j["habitats"];
    h["of"] = textOrNull(u.habitats_of);
    h["inherited"] = !u.habitats_of.empty() && u.habitats_of != u.nvc_code;
    for (int c = 0; c < kClassifications; ++c) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const Habitat& habitat : u.habitats) {
        if (static_cast<int>(habitat.classification) != c) continue;
        list.push_back({{"code", textOrNull(habitat.code)},
                        {"name", habitat.name},
                        {"relationship", textOrNull(habitat.relationship)}});
      }
      h[std::string(kClassificationNames[static_cast<std::size_t>(c)].key)] = std::move(list);
    }
  }
  t.json = dumped(j);
  t.json.front() = ',';  // members after the row's own
  t.json.pop_back();
  return t;
}

void appendInt(std::string& out, int value) {
  char digits[16];
  auto [end, fault] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}


}  // namespace

Reference::Reference(const engine::Tables& tables, const NameMatcher& names,
                     const Attributes* attributes)
    : tables_(tables), names_(names), attributes_(attributes != nullptr ? attributes : &none_) {
  const int n = tables.n_communities;
  texts_.resize(static_cast<std::size_t>(n) + 1);
  unit_texts_.resize(static_cast<std::size_t>(n) + 1);
  unit_texts_[0] = makeUnitText(nullptr);
  const bool described = attributes_->unitCount() == n;
  for (int k = 1; k <= n; ++k)
    unit_texts_[static_cast<std::size_t>(k)] =
        makeUnitText(described ? &attributes_->unit(k) : nullptr);
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
  engine::forEachSpecies(tables, [&](int p, int j) {
    const int last = tables.entry_ranges.last_entry[static_cast<std::size_t>(j)];
    for (int e = tables.entry_ranges.first_entry[static_cast<std::size_t>(j)];
         last != 0 && e <= last; ++e) {
      const int k = tables.entries.entry_community[static_cast<std::size_t>(e)];
      const int g = tables.conversion.class_constancy[static_cast<std::size_t>(
          tables.entries.entry_class[static_cast<std::size_t>(e)])];
      if (g >= 4)
        by_community[static_cast<std::size_t>(k)].push_back(
            {static_cast<short>(p), static_cast<short>(g)});
    }
  });
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
  const int j = engine::entryOfSpecies(tables_, species_number);
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
  const int j = engine::entryOfSpecies(tables_, species_number);
  return j == 0
             ? std::to_string(species_number)
             : withoutTrailingBlanks(tables_.dictionary.species_name[static_cast<std::size_t>(j)]);
}

void appendIndicatorCsv(std::string& out, const SampleIndicators& indicators) {
  out += ',';
  appendInt(out, indicators.species);
  for (const auto* means : {&indicators.mean, &indicators.weighted}) {
    for (const std::optional<double>& mean : *means) {
      out += ',';
      if (mean) appendFixed2(out, *mean);
    }
  }
}

std::string csvHeader(const OutputColumns& columns) {
  std::string header = columns.file ? "file," : "";
  header +=
      "sample,rank,nvc_code,community,subcommunity,eunis_code,eunis_name,fit,grade,"
      "community_composition_fit,sample_composition_fit,community_cover_fit,sample_cover_fit,"
      "species,unmatched,status,"
      "community_name,subcommunity_name,eunis_full_name,eunis_relationship";
  for (const ClassificationName& c : kClassificationNames) {
    header += ',';
    header += c.key;
  }
  header += ",habitats_of,unit_plots,unit_min_species,unit_mean_species,unit_max_species";
  header += ",indicator_species";
  for (const char* suffix : {"", "_weighted"}) {
    for (char letter : kIndicatorLetters) {
      header += ',';
      header += letter;
      header += suffix;
    }
  }
  for (char letter : kIndicatorLetters) {
    for (const char* suffix : {"_mean", "_sd"}) {
      header += ",unit_";
      header += letter;
      header += suffix;
    }
  }
  for (char letter : kIndicatorLetters) {
    header += ',';
    header += letter;
    header += "_deviation";
  }
  if (columns.explain) header += ",missing_constants,not_in_table,species_account";
  return header;
}

namespace {

constexpr int kSampleIndicatorFields = 1 + 2 * kIndicators;

const UnitText& rowUnit(const Row& row) {
  static const UnitText kNone = makeUnitText(nullptr);
  return row.result && row.community != nullptr && row.unit != nullptr ? *row.unit : kNone;
}

std::optional<double> rowDeviation(const Row& row, std::size_t v) {
  const UnitText& unit = rowUnit(row);
  if (unit.info == nullptr || row.indicators == nullptr) return std::nullopt;
  return deviation(row.indicators->mean[v], unit.info->indicators[v]);
}

}  // namespace

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
  const UnitText& unit = rowUnit(row);
  out += unit.csv_names;
  if (row.indicators_csv != nullptr) {
    out += *row.indicators_csv;
  } else {
    out.append(kSampleIndicatorFields, ',');
  }
  if (unit.csv_indicators.empty()) {
    out.append(std::size_t{2} * kIndicators, ',');
  } else {
    out += unit.csv_indicators;
  }
  for (std::size_t v = 0; v < kIndicators; ++v) {
    out += ',';
    if (const std::optional<double> d = rowDeviation(row, v)) appendFixed2(out, *d);
  }
  if (!columns.explain) return;
  std::string list;
  if (row.explained) {
    for (const Row::Missing& m : row.missing) {
      if (!list.empty()) list += "; ";
      list += m.name + " (";
      appendPlace(list, m.place);
      list += ')';
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
  list.clear();
  if (row.explained) {
    for (const Row::Account& a : row.account) {
      if (!list.empty()) list += "; ";
      list += a.name + ' ' + std::to_string(a.cover) + "%: ";
      if (a.place.constancy == 0) {
        list += "absent";
      } else {
        appendPlace(list, a.place);
      }
    }
  }
  out += ',';
  veg::appendCsvField(out, list);
}

namespace {

// Adds the constancy and Domin range of a table place to `j`.
void addPlace(nlohmann::ordered_json& j, const TablePlace& place) {
  j["constancy"] = place.constancy > 0 ? nlohmann::ordered_json(constancyNumeral(place.constancy))
                                       : nlohmann::ordered_json(nullptr);
  j["min_domin"] = place.min_domin > 0 ? nlohmann::ordered_json(place.min_domin) : nullptr;
  j["max_domin"] = place.max_domin > 0 ? nlohmann::ordered_json(place.max_domin) : nullptr;
}

nlohmann::ordered_json placeJson(const TablePlace& place) {
  nlohmann::ordered_json j;
  addPlace(j, place);
  return j;
}

}  // namespace

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
  // Names may hold any bytes: those that are not UTF-8 are replaced, not
  // refused half way through the output.
  out += dumped(j);
  out.pop_back();  // the closing brace: the attributes follow

  const UnitText& unit = rowUnit(row);
  out += unit.json;
  const UnitInfo* info = unit.info;
  out += ",\"richness\":{";
  appendJsonNumber(out, "sample", std::optional<int>(row.species), true);
  appendJsonNumber(out, "unit_plots", info ? info->plots : std::nullopt);
  appendJsonNumber(out, "unit_min", info ? info->min_species : std::nullopt);
  appendJsonNumber(out, "unit_mean", info ? info->mean_species : std::nullopt);
  appendJsonNumber(out, "unit_max", info ? info->max_species : std::nullopt);
  out += "},\"indicators\":{";
  appendJsonNumber(out, "species",
                   row.indicators ? std::optional<int>(row.indicators->species) : std::nullopt,
                   true);
  for (std::size_t v = 0; v < kIndicators; ++v) {
    out += ",\"";
    out += kIndicatorLetters[v];
    out += "\":{";
    auto rounded = [](const std::optional<double>& x) {
      return x ? std::optional<double>(rounded2(*x)) : std::nullopt;
    };
    const std::optional<UnitIndicator>& u =
        info != nullptr ? info->indicators[v] : std::optional<UnitIndicator>();
    appendJsonNumber(out, "sample", row.indicators ? rounded(row.indicators->mean[v]) : std::nullopt,
                     true);
    appendJsonNumber(out, "sample_weighted",
                     row.indicators ? rounded(row.indicators->weighted[v]) : std::nullopt);
    appendJsonNumber(out, "unit_mean", u ? std::optional<double>(u->mean) : std::nullopt);
    appendJsonNumber(out, "unit_sd", u ? std::optional<double>(u->sd) : std::nullopt);
    appendJsonNumber(out, "deviation", rounded(rowDeviation(row, v)));
    out += '}';
  }
  out += '}';
  if (columns.explain && row.explained) {
    nlohmann::ordered_json e;
    nlohmann::ordered_json& missing = e["missing_constants"] = nlohmann::ordered_json::array();
    for (const Row::Missing& m : row.missing) {
      nlohmann::ordered_json item;
      item["species"] = m.name;
      addPlace(item, m.place);
      missing.push_back(std::move(item));
    }
    e["not_in_table"] = row.not_in_table;
    nlohmann::ordered_json& account = e["species_account"] = nlohmann::ordered_json::array();
    for (const Row::Account& a : row.account) {
      nlohmann::ordered_json item;
      item["species"] = a.name;
      item["cover"] = a.cover;
      addPlace(item, a.place);
      account.push_back(std::move(item));
    }
    std::string members = dumped(e);
    members.front() = ',';
    members.pop_back();
    out += members;
  }
  out += '}';
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

// The name of sample species i as the output shows it: its shown name, or
// as written when the names table has none; a name of no species as
// written.
std::string Scorer::sampleName(const SampleSet& set, const SampleInfo& info, int i) const {
  const int number = sample_->sample_species[static_cast<std::size_t>(i)];
  if (number > engine::kNewNumberBase) {
    const std::size_t n = static_cast<std::size_t>(number - engine::kNewNumberBase - 1);
    return n < new_names_.size() ? reference_.names().text(new_names_[n]) : std::string();
  }
  const EntryLine* lines = set.lines.data() + info.first;
  std::string_view written;
  for (std::size_t l = 0; l < info.count; ++l) {
    if (lines[l].code % engine::kMarkStep == number) {
      written = reference_.names().text(lines[l].spelling);
      break;
    }
  }
  return reference_.speciesName(number, written);
}

void Scorer::explain(const SampleSet& set, const SampleInfo& info, int k, Row& row) const {
  const engine::Sample& s = *sample_;
  const Attributes& attributes = reference_.attributes();
  auto has = [&](int number) {
    for (int i = 1; i <= s.sample_size; ++i)
      if (s.sample_species[static_cast<std::size_t>(i)] == number) return true;
    return false;
  };
  auto [begin, end] = reference_.constants(k);
  for (const Constant* c = begin; c != end; ++c) {
    if (has(c->species_number)) continue;
    TablePlace place = tablePlace(tables(), attributes, k, c->species_number);
    place.constancy = c->constancy;
    row.missing.push_back({reference_.speciesName(c->species_number), place});
  }
  for (int i = 1; i <= s.sample_size; ++i) {
    const int number = s.sample_species[static_cast<std::size_t>(i)];
    std::string name = sampleName(set, info, i);
    TablePlace place;
    if (number <= engine::kNewNumberBase) place = tablePlace(tables(), attributes, k, number);
    if (place.constancy == 0) row.not_in_table.push_back(name);
    row.account.push_back({std::move(name), s.sample_cover[static_cast<std::size_t>(i)], place});
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

std::string tableCsvHeader(bool file) {
  return std::string(file ? "file," : "") +
         "sample,quadrats,nvc_code,fit,species,stand_quadrats,stand_constancy,stand_min_cover,"
         "stand_mean_cover,stand_max_cover,stand_min_domin,stand_max_domin,unit_constancy,"
         "unit_min_domin,unit_max_domin";
}

void Scorer::appendTable(const SampleSet& set, const SampleInfo& info, int k, int fit,
                         std::string& out) const {
  const engine::Sample& s = *sample_;
  std::vector<int> numbers;
  std::vector<std::string> names;
  std::vector<StandCover> covers;
  const EntryLine* lines = set.lines.data() + info.first;
  for (int i = 1; i <= s.sample_size; ++i) {
    const int number = s.sample_species[static_cast<std::size_t>(i)];
    numbers.push_back(number > engine::kNewNumberBase ? 0 : number);
    names.push_back(sampleName(set, info, i));
    // The composed sample has one line per species, in the order of the
    // merged sample; a name of no species is found by its spelling.
    StandCover cover;
    for (std::size_t l = 0; l < info.count && info.first + l < set.stand_covers.size(); ++l) {
      const bool same = number > engine::kNewNumberBase
                            ? lines[l].code == 0 && reference_.names().text(lines[l].spelling) ==
                                                        names.back()
                            : lines[l].code % engine::kMarkStep == number;
      if (same) {
        cover = set.stand_covers[info.first + l];
        break;
      }
    }
    covers.push_back(cover);
  }
  const int quadrats = info.quadrats > 0 ? info.quadrats : 1;
  const std::vector<StandTableLine> table =
      standTable(numbers, names, covers, quadrats, tables(), reference_.attributes(), k,
                 [this](int number) { return reference_.speciesName(number); });
  const std::string nvc_code = k != 0 ? reference_.text(k).nvc_code : std::string();
  const std::string_view file = row_.file;
  if (options_.format == Format::kCsv) {
    for (const StandTableLine& line : table) {
      if (columns_.file) {
        veg::appendCsvField(out, file);
        out += ',';
      }
      veg::appendCsvField(out, info.name);
      out += ',' + std::to_string(quadrats) + ',' + nvc_code + ',';
      if (k != 0) appendInt(out, fit);
      out += ',';
      veg::appendCsvField(out, line.name);
      if (line.stand.quadrats > 0) {
        const StandCover& c = line.stand;
        out += ',' + std::to_string(c.quadrats) + ',' +
               std::string(constancyNumeral(line.stand_constancy)) + ',' +
               std::to_string(c.min_cover) + ',';
        appendFixed2(out, static_cast<double>(c.cover_sum) / c.quadrats);
        out += ',' + std::to_string(c.max_cover);
        // A cover below half a percent is held as 0: its Domin value is not
        // known.
        for (int cover : {c.min_cover, c.max_cover}) {
          out += ',';
          if (dominOf(cover) > 0) appendInt(out, dominOf(cover));
        }
      } else {
        out += ",,,,,,,";
      }
      out += ',';
      out += constancyNumeral(line.unit.constancy);
      out += ',';
      if (line.unit.min_domin > 0) appendInt(out, line.unit.min_domin);
      out += ',';
      if (line.unit.max_domin > 0) appendInt(out, line.unit.max_domin);
      out += '\n';
    }
    return;
  }
  nlohmann::ordered_json j;
  if (columns_.file) j["file"] = file;
  j["sample"] = info.name;
  j["quadrats"] = quadrats;
  j["nvc_code"] = textOrNull(nvc_code);
  j["fit"] = k != 0 ? nlohmann::ordered_json(fit) : nlohmann::ordered_json(nullptr);
  nlohmann::ordered_json& species = j["species"] = nlohmann::ordered_json::array();
  for (const StandTableLine& line : table) {
    nlohmann::ordered_json item;
    item["species"] = line.name;
    if (line.stand.quadrats > 0) {
      const StandCover& c = line.stand;
      item["stand"] = {{"quadrats", c.quadrats},
                       {"constancy", constancyNumeral(line.stand_constancy)},
                       {"min_cover", c.min_cover},
                       {"mean_cover", rounded2(static_cast<double>(c.cover_sum) / c.quadrats)},
                       {"max_cover", c.max_cover},
                       {"min_domin", nullptr},
                       {"max_domin", nullptr}};
      for (const auto& [key, cover] : {std::pair{"min_domin", c.min_cover}, std::pair{"max_domin", c.max_cover}})
        if (dominOf(cover) > 0) item["stand"][key] = dominOf(cover);
    } else {
      item["stand"] = nullptr;
    }
    item["unit"] = line.unit.constancy > 0 ? placeJson(line.unit) : nlohmann::ordered_json(nullptr);
    species.push_back(std::move(item));
  }
  out += "  ";
  out += dumped(j);
  out += ",\n";
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
  indicators_ = sampleIndicators(*sample_, reference_.attributes());
  indicators_csv_.clear();
  appendIndicatorCsv(indicators_csv_, indicators_);
  row.indicators = &indicators_;
  row.indicators_csv = &indicators_csv_;
  if (info.scaled_from > 0)
    row.status +=
        ": frequencies scaled to 100 from " + std::to_string(info.scaled_from) + " quadrats";
  int shown = 0;
  for (int r = 1; r <= rows; ++r)
    if (top_score_[static_cast<std::size_t>(r)] >= kShownFit) shown = r;
  if (options_.table) {
    const int k = shown > 0 ? top_community_[1] : 0;
    appendTable(set, info, k,
                k != 0 ? engine::printedPercent(tables.scores.fit_score[static_cast<std::size_t>(k)])
                       : 0,
                out);
    return;
  }
  if (shown == 0) {
    int known = 0;
    for (int s = 1; s <= sample_->sample_size; ++s)
      if (sample_->sample_species[static_cast<std::size_t>(s)] <= engine::kNewNumberBase) ++known;
    row.result = false;
    row.status = known == 0 ? kStatusNoSpecies : kStatusNoFit;
    row.explained = false;
    row.unit = nullptr;
    append(out);
    return;
  }
  for (int r = 1; r <= shown; ++r) {
    const int k = top_community_[static_cast<std::size_t>(r)];
    const std::size_t kk = static_cast<std::size_t>(k);
    row.rank = r;
    row.community = &reference_.text(k);
    row.unit = &reference_.unitText(k);
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
    row.explained = options_.explain && (r == 1 || options_.explain_all);
    row.missing.clear();
    row.not_in_table.clear();
    row.account.clear();
    if (row.explained) explain(set, info, k, row);
    append(out);
  }
}

}  // namespace vegfit
